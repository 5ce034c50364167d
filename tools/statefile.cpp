#include "statefile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <initializer_list>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int maxLinks = 40; // as many symbolic links as a path may pass on Linux

bool writeAll(int descriptor, const std::string &text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR)
            return false;
        done += written > 0 ? size_t(written) : 0;
    }
    return true;
}

unsigned newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A backslash, tab, line feed or carriage return in a field, and how it is written.
constexpr std::string_view escapedCharacters = "\\\t\n\r";
constexpr std::string_view escapeLetters = "\\tnr";

std::string escaped(std::string_view field)
{
    std::string text;
    for (const char character : field) {
        const size_t found = escapedCharacters.find(character);
        if (found != escapedCharacters.npos)
            text += '\\';
        text += found == escapedCharacters.npos ? character : escapeLetters[found];
    }
    return text;
}

// The fields of a line, unescaped; null when a backslash starts no escape.
std::optional<std::vector<std::string>> fieldsOf(std::string_view line)
{
    std::vector<std::string> fields(1);
    for (size_t at = 0; at < line.size(); ++at) {
        if (line[at] == '\t') {
            fields.emplace_back();
        } else if (line[at] != '\\') {
            fields.back() += line[at];
        } else {
            const size_t escape =
                ++at < line.size() ? escapeLetters.find(line[at]) : escapeLetters.npos;
            if (escape == escapeLetters.npos)
                return std::nullopt;
            fields.back() += escapedCharacters[escape];
        }
    }
    return fields;
}

} // namespace

StateFile::StateFile(std::filesystem::path path)
    : m_path(std::move(path))
{}

std::string StateFile::uuidKey(std::string_view uuid)
{
    return "uuid:" + std::string(uuid);
}

bool StateFile::fail(const std::string &what, const std::filesystem::path &path, int error)
{
    m_error = what + " " + path.string() + ": " + std::strerror(error);
    return false;
}

bool StateFile::read()
{
    m_elections.clear();
    m_removedPaths.clear();
    m_added.clear();
    struct stat status
    {
    };
    if (::stat(m_path.c_str(), &status) != 0)
        return errno == ENOENT || fail("cannot read", m_path, errno);
    if (!S_ISREG(status.st_mode))
        return fail("cannot read", m_path, S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return fail("cannot read", m_path, errno);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty())
            continue;
        const std::optional<std::vector<std::string>> fields = fieldsOf(line);
        if (!fields || !readLine(*fields)) {
            m_error = m_path.string() + ":" + std::to_string(number) +
                      ": neither an election, a removal nor an added copy";
            return false;
        }
    }
    return !in.bad() || fail("cannot read", m_path, EIO);
}

bool StateFile::readLine(const std::vector<std::string> &fields)
{
    if (fields.size() < 2)
        return false;
    const std::string &key = fields[0];
    const std::string &what = fields[1];
    if (fields.size() == 2 && !key.empty() && (what == "use" || what == "ignore")) {
        elect(key, what);
        return true;
    }
    if (fields.size() == 2 && what == "removed" && key.starts_with("path:") && key.size() > 5) {
        setRemoved(key.substr(5), true);
        return true;
    }
    if (fields.size() == 8 && what == "added" && key.starts_with("uuid:") && !fields[3].empty() &&
        !fields[7].empty()) {
        m_added.push_back({.uuid = key.substr(5),
                           .timestamp = fields[2],
                           .identifier = fields[3],
                           .version = fields[4],
                           .point = fields[5],
                           .name = fields[6],
                           .path = fields[7]});
        return true;
    }
    return false;
}

const StateFile::Election *StateFile::election(std::string_view key) const
{
    const auto found = std::find_if(m_elections.begin(), m_elections.end(),
                                    [&](const Election &election) { return election.key == key; });
    return found == m_elections.end() ? nullptr : &*found;
}

void StateFile::elect(const std::string &key, const std::string &choice)
{
    std::erase_if(m_elections, [&](const Election &election) { return election.key == key; });
    if (choice != "default")
        m_elections.push_back({key, choice});
}

bool StateFile::isRemoved(std::string_view path) const
{
    return std::find(m_removedPaths.begin(), m_removedPaths.end(), path) != m_removedPaths.end();
}

void StateFile::setRemoved(const std::string &path, bool removed)
{
    std::erase(m_removedPaths, path);
    if (removed)
        m_removedPaths.push_back(path);
}

bool StateFile::findTarget()
{
    m_target = m_path;
    for (int links = 0;; ++links) {
        struct stat status
        {
        };
        if (::lstat(m_target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return true;
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(m_target, error);
        if (error || links == maxLinks)
            return fail("cannot write", m_path, error ? error.value() : ELOOP);
        m_target = m_target.parent_path() / link;
    }
}

bool StateFile::lockForChange()
{
    if (!findTarget())
        return false;
    std::error_code ignored;
    std::filesystem::create_directories(m_target.parent_path(), ignored);
    struct stat status
    {
    };
    if (::stat(m_target.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return fail("cannot write", m_path, S_ISDIR(status.st_mode) ? EISDIR : EINVAL);

    // The lock lies beside the file: the file itself is replaced, not rewritten.
    const std::filesystem::path lock = m_target.string() + ".lock";
    m_lock.emplace(::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (m_lock->get() < 0)
        return fail("cannot lock", lock, errno);
    while (::flock(m_lock->get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return fail("cannot lock", lock, errno);
    }
    if (!read())
        return false;
    // Root may write anything; a file without write permission is still one
    // its owner meant to keep as it is.
    if (::stat(m_target.c_str(), &status) == 0 &&
        ((status.st_mode & 0222) == 0 || ::access(m_target.c_str(), W_OK) != 0))
        return fail("cannot write", m_path, EACCES);
    return true;
}

std::string StateFile::text() const
{
    std::string text;
    const auto line = [&](std::initializer_list<std::string_view> fields) {
        for (const std::string_view field : fields) {
            text += escaped(field);
            text += '\t';
        }
        text.back() = '\n';
    };
    for (const AddedCopy &copy : m_added)
        line({uuidKey(copy.uuid), "added", copy.timestamp, copy.identifier, copy.version,
              copy.point, copy.name, copy.path});
    for (const std::string &path : m_removedPaths)
        line({"path:" + path, "removed"});
    for (const Election &election : m_elections)
        line({election.key, election.choice});
    return text;
}

bool StateFile::save()
{
    struct stat status
    {
    };
    const unsigned mode =
        ::stat(m_target.c_str(), &status) == 0 ? status.st_mode & 07777 : newFileMode();
    std::string temporary = m_target.string() + ".XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0)
        return fail("cannot write", m_path, errno);
    const bool written = writeAll(file.get(), text()) && ::fchmod(file.get(), mode) == 0 &&
                         ::fsync(file.get()) == 0 && ::close(file.release()) == 0 &&
                         ::rename(temporary.c_str(), m_target.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return fail("cannot write", m_path, error);
    }
    // The rename itself is kept only once the folder is on disk.
    const Descriptor folder(
        ::open(m_target.parent_path().empty() ? "." : m_target.parent_path().c_str(),
               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return true;
}
