#include "addedcopy.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

#include <sys/stat.h>

namespace {

const char descriptorName[] = "Contents/zephlist-standin.txt";

std::string freshUuid()
{
    static constexpr std::string_view digits = "0123456789ABCDEF";
    std::random_device random;
    std::uniform_int_distribution<size_t> digit(0, 15);
    std::string uuid = "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx"; // version 4, random
    for (char &character : uuid) {
        if (character == 'x')
            character = digits[digit(random)];
        else if (character == 'y')
            character = digits[8 + digit(random) % 4];
    }
    return uuid;
}

std::string now()
{
    const std::time_t time = std::time(nullptr);
    std::tm utc{};
    char text[32] = "";
    gmtime_r(&time, &utc);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc);
    return text;
}

// As Xcode makes a bundle identifier of a product's name.
std::string identifierOf(std::string_view name)
{
    std::string identifier;
    for (const char character : name) {
        const auto byte = static_cast<unsigned char>(character);
        if ((byte < 0x80 && std::isalnum(byte)) || character == '-' || character == '.')
            identifier += character;
        else if ((byte & 0xC0) != 0x80) // one "-" for all bytes of a UTF-8 character
            identifier += '-';
    }
    return identifier;
}

// Headers and state keys are made of identifiers and versions.
bool isWord(std::string_view value)
{
    return !value.empty() && value.find_first_of(":()") == std::string_view::npos &&
           std::none_of(value.begin(), value.end(), [](char character) {
               return static_cast<unsigned char>(character) <= ' ';
           });
}

bool readDescriptor(AddedCopy &copy, const std::filesystem::path &file, std::string &error)
{
    const auto cannotRead = [&](int reason) {
        error = "cannot read " + file.string() + ": " + std::strerror(reason);
        return false;
    };
    struct stat status
    {
    };
    if (::stat(file.c_str(), &status) != 0) // without the file, the folder's name tells
        return errno == ENOENT || errno == ENOTDIR || cannotRead(errno);
    if (!S_ISREG(status.st_mode))
        return cannotRead(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return cannotRead(errno);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        std::string *field = key == "identifier" ? &copy.identifier
                             : key == "version"  ? &copy.version
                             : key == "point"    ? &copy.point
                             : key == "name"     ? &copy.name
                                                 : nullptr;
        const std::string where = file.string() + ":" + std::to_string(number) + ": ";
        if (!field || equals == std::string::npos) {
            error = where + "not identifier=, version=, point= or name= and a value";
            return false;
        }
        if (field == &copy.identifier && value.empty()) {
            error = "no identifier for " + copy.path + ": " + where + "identifier= is empty";
            return false;
        }
        const bool inHeader = field == &copy.identifier || field == &copy.version;
        if (inHeader && !isWord(value)) {
            error = where + "an identifier or version holds no white space, colon or parenthesis";
            return false;
        }
        *field = value;
    }
    return !in.bad() || cannotRead(EIO);
}

} // namespace

std::optional<AddedCopy> AddedCopy::ofBundle(const std::string &path, std::string &error)
{
    struct stat status
    {
    };
    const int reason = ::stat(path.c_str(), &status) != 0 ? errno
                       : S_ISDIR(status.st_mode)          ? 0
                                                          : ENOTDIR;
    if (reason != 0) {
        error = "no bundle at " + path + ": " + std::strerror(reason);
        return std::nullopt;
    }
    const std::string name = std::filesystem::path(path).stem().string();
    AddedCopy copy{.uuid = freshUuid(),
                   .timestamp = now(),
                   .identifier = identifierOf(name),
                   .version = "1.0",
                   .point = {},
                   .name = name,
                   .path = path};
    if (!readDescriptor(copy, std::filesystem::path(path) / descriptorName, error))
        return std::nullopt;
    if (copy.identifier.empty()) {
        error = "no identifier for " + path + ": give one in its " + descriptorName;
        return std::nullopt;
    }
    return copy;
}

std::string AddedCopy::block() const
{
    std::string text = "+    " + identifier + '(' + version + ")\n";
    const auto field = [&](std::string_view key, std::string_view value) {
        text += '\t';
        text.append(16 - key.size(), ' '); // keys right-aligned, as the tool prints them
        text += key;
        text += " = ";
        text += value;
        text += '\n';
    };
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    while (parent.has_relative_path() && parent.extension() != ".app")
        parent = parent.parent_path();
    const bool inApp = parent.has_relative_path();
    field("Path", path);
    field("UUID", uuid);
    field("Timestamp", timestamp);
    if (!point.empty())
        field("SDK", point);
    if (inApp)
        field("Parent Bundle", parent.string());
    field("Display Name", name);
    if (inApp)
        field("Parent Name", parent.stem().string());
    field("Platform", "macOS");
    text.pop_back();
    return text;
}
