#pragma once

#include <filesystem>
#include <map>
#include <string>

// The stand-in's elections, kept in a file of "KEY<tab>use|ignore" lines.
// A key is a plug-in's identifier, or "uuid:" and one registered copy's UUID
// (identifiers never hold a colon).
class ElectionFile
{
public:
    explicit ElectionFile(std::filesystem::path path);

    // Reads the file; a missing file holds no elections. False, with error(),
    // when the file cannot be read as elections.
    [[nodiscard]] bool read();

    // "use", "ignore", or null when `key` has no election.
    [[nodiscard]] const std::string *choice(const std::string &key) const;

    // Sets `key` to "use" or "ignore", or with "default" clears it, while
    // holding a lock that other copies of the stand-in wait for: no election
    // made at the same time is lost. The file is replaced whole, keeping its
    // permissions. False, with error(), when nothing was changed.
    [[nodiscard]] bool change(const std::string &key, const std::string &choice);

    [[nodiscard]] const std::string &error() const { return m_error; }

    [[nodiscard]] static std::string uuidKey(std::string_view uuid);

private:
    [[nodiscard]] bool fail(const std::string &what, int error);
    [[nodiscard]] bool write(unsigned mode);

    std::filesystem::path m_path;
    std::map<std::string, std::string> m_elections;
    std::string m_error;
};
