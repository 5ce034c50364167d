#include "registeredcopy.h"

#include <algorithm>

namespace {

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string tagged(std::string_view header, char tag)
{
    std::string text(header);
    if (!text.empty())
        text[0] = tag;
    return text;
}

// Fills the identifier and version from "+    com.example.Widget(1.2)".
void readHeader(RegisteredCopy &copy)
{
    const std::string_view header = copy.header;
    const size_t open = header.rfind('(');
    if (header.size() < 2 || open == std::string_view::npos)
        return;
    copy.identifier = trimmed(header.substr(1, open - 1));
    const size_t close = header.find(')', open);
    copy.version = header.substr(open + 1, std::min(close, header.size()) - open - 1);
}

void readField(RegisteredCopy &copy, std::string_view line)
{
    const size_t equals = line.find(" = ");
    if (equals == std::string_view::npos)
        return;
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string_view value = line.substr(equals + 3);
    if (key == "UUID")
        copy.uuid = value;
    else if (key == "Timestamp")
        copy.timestamp = value;
    else if (key == "SDK")
        copy.point = value;
    else if (key == "Path")
        copy.path = value;
}

} // namespace

std::string RegisteredCopy::block() const
{
    std::string text = tagged(header, tag);
    text += '\n';
    if (!body.empty()) {
        text += body;
        text += '\n';
    }
    return text;
}

std::string RegisteredCopy::line(bool verbose) const
{
    std::string text = tagged(header, tag);
    if (verbose) {
        for (const std::string_view field : {uuid, timestamp, path}) {
            text += '\t';
            text += field;
        }
    }
    text += '\n';
    return text;
}

std::vector<RegisteredCopy> readCopies(std::string_view listing, bool sampled)
{
    std::vector<RegisteredCopy> copies;
    RegisteredCopy *current = nullptr;
    for (size_t start = 0; start < listing.size();) {
        const size_t end = std::min(listing.find('\n', start), listing.size());
        const std::string_view line = listing.substr(start, end - start);
        if (line.empty()) {
            current = nullptr;
        } else if (!current) {
            current = &copies.emplace_back();
            current->header = line;
            current->sampled = sampled;
            current->tag = line[0];
            readHeader(*current);
        } else {
            const size_t bodyStart =
                current->header.data() + current->header.size() + 1 - listing.data();
            current->body = listing.substr(bodyStart, end - bodyStart);
            readField(*current, line);
        }
        start = end + 1;
    }
    return copies;
}
