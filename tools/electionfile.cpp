#include "electionfile.h"

#include "descriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

} // namespace

ElectionFile::ElectionFile(std::filesystem::path path)
    : m_path(std::move(path))
{}

std::string ElectionFile::uuidKey(std::string_view uuid)
{
    return "uuid:" + std::string(uuid);
}

bool ElectionFile::fail(const std::string &what, int error)
{
    m_error = what + " " + m_path.string() + ": " + std::strerror(error);
    return false;
}

bool ElectionFile::read()
{
    m_elections.clear();
    struct stat status
    {
    };
    if (::stat(m_path.c_str(), &status) != 0)
        return errno == ENOENT || fail("cannot read elections from", errno);
    if (!S_ISREG(status.st_mode))
        return fail("cannot read elections from", S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return fail("cannot read elections from", errno);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const size_t tab = line.find('\t');
        const std::string choice = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (line.empty())
            continue;
        if (tab == 0 || (choice != "use" && choice != "ignore")) {
            m_error = m_path.string() + ":" + std::to_string(number) +
                      ": not an election (an identifier or uuid:UUID, a tab, then use or ignore)";
            return false;
        }
        m_elections[line.substr(0, tab)] = choice;
    }
    return !in.bad() || fail("cannot read elections from", EIO);
}

const std::string *ElectionFile::choice(const std::string &key) const
{
    const auto found = m_elections.find(key);
    return found == m_elections.end() ? nullptr : &found->second;
}

bool ElectionFile::change(const std::string &key, const std::string &choice)
{
    std::error_code ignored;
    std::filesystem::create_directories(m_path.parent_path(), ignored);
    struct stat status
    {
    };
    const bool exists = ::stat(m_path.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode))
        return fail("cannot write", S_ISDIR(status.st_mode) ? EISDIR : EINVAL);

    // The lock lies beside the file: the file itself is replaced, not rewritten.
    const Descriptor lock(
        ::open((m_path.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (lock.get() < 0)
        return fail("cannot lock", errno);
    while (::flock(lock.get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return fail("cannot lock", errno);
    }
    if (!read())
        return false;
    const bool stillExists = ::stat(m_path.c_str(), &status) == 0;
    // Root may write anything; a file without write permission is still one
    // its owner meant to keep as it is.
    if (stillExists && ((status.st_mode & 0222) == 0 || ::access(m_path.c_str(), W_OK) != 0))
        return fail("cannot write", EACCES);
    if (choice == "default")
        m_elections.erase(key);
    else
        m_elections[key] = choice;
    return write(stillExists ? status.st_mode & 07777 : newFileMode());
}

bool ElectionFile::write(unsigned mode)
{
    std::string text;
    for (const auto &[key, choice] : m_elections)
        text += key + '\t' + choice + '\n';
    std::string temporary = m_path.string() + ".XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0)
        return fail("cannot write", errno);
    const bool written = writeAll(file.get(), text) && ::fchmod(file.get(), mode) == 0 &&
                         ::fsync(file.get()) == 0 && ::close(file.release()) == 0 &&
                         ::rename(temporary.c_str(), m_path.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return fail("cannot write", error);
    }
    // The rename itself is kept only once the folder is on disk.
    const Descriptor folder(
        ::open(m_path.parent_path().empty() ? "." : m_path.parent_path().c_str(),
               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return true;
}
