#pragma once

#include "addedcopy.h"
#include "descriptor.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the stand-in keeps between runs, a line each, its fields apart by tabs:
//
//   IDENTIFIER  use|ignore    an election of every copy of an identifier
//   uuid:UUID   use|ignore    an election of one copy
//   path:PATH   removed       the copies at PATH, removed with -r
//   uuid:UUID   added  TIMESTAMP  IDENTIFIER  VERSION  POINT  NAME  PATH
//                             a copy added with -a
//
// Inside a field a backslash, tab, line feed or carriage return is written
// \\, \t, \n or \r, so that any path is kept as it is. Identifiers never hold
// a colon. Elections are kept in the order they were made, the latest last.
class StateFile
{
public:
    struct Election
    {
        std::string key;    // an identifier, or uuidKey() of one copy
        std::string choice; // "use" or "ignore"
    };

    explicit StateFile(std::filesystem::path path);

    // Reads the file; a missing file holds nothing. False, with error(), when
    // the file cannot be read as the stand-in's state.
    [[nodiscard]] bool read();
    // Takes the lock that other changes wait for, held while this object
    // lives, then reads the file: no change made at the same time is lost.
    // False, with error(), when the file could not be changed.
    [[nodiscard]] bool lockForChange();
    // After lockForChange(), replaces the file whole, keeping its permissions;
    // a symbolic link stays one, and the file it leads to is replaced. False,
    // with error(), when the file is as it was.
    [[nodiscard]] bool save();

    [[nodiscard]] const std::string &error() const { return m_error; }

    [[nodiscard]] const std::vector<Election> &elections() const { return m_elections; }
    [[nodiscard]] const Election *election(std::string_view key) const;
    // Makes "use" or "ignore" the latest election of `key`, or with "default" clears it.
    void elect(const std::string &key, const std::string &choice);

    [[nodiscard]] bool isRemoved(std::string_view path) const;
    void setRemoved(const std::string &path, bool removed);

    [[nodiscard]] const std::vector<AddedCopy> &addedCopies() const { return m_added; }
    void add(AddedCopy copy) { m_added.push_back(std::move(copy)); }

    [[nodiscard]] static std::string uuidKey(std::string_view uuid);

private:
    [[nodiscard]] bool fail(const std::string &what, const std::filesystem::path &path, int error);
    [[nodiscard]] bool readLine(const std::vector<std::string> &fields);
    [[nodiscard]] bool findTarget();
    [[nodiscard]] std::string text() const;

    std::filesystem::path m_path;
    std::filesystem::path m_target; // the file that m_path leads to, through symbolic links
    std::vector<Election> m_elections;
    std::vector<std::string> m_removedPaths;
    std::vector<AddedCopy> m_added;
    std::optional<Descriptor> m_lock;
    std::string m_error;
};
