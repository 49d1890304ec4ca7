// A settings file edited by hand, and one value written into it.
#include <algorithm>
#include <set>
#include <utility>

#include "entries.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support.h"

namespace quarvelt::fuzz {

namespace {

constexpr const char* Name = "settings";
constexpr const char* Missing = "\x01missing";
constexpr int Room = 1 << 20;
constexpr size_t MaxNames = 8;

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string WithoutBreaks(std::string text) {
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}

// A name as the reader compares it: line breaks gone, trimmed, ASCII letters in one case.
std::string Compared(const std::string& name) {
    std::string text = Trim(WithoutBreaks(name));
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// What reading back a written value gives: trimmed, one pair of quotes removed.
std::string ReadBack(const std::string& value) {
    std::string text = Trim(WithoutBreaks(value));
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return text;
}

std::string Get(const std::string& section, const std::string& key, const std::string& file) {
    std::string value;
    platform::ProfileGetString(section, key, Missing, value, Room, file);
    return value;
}

// Section and key names worth asking for: those the file seems to hold, and the written ones.
std::vector<std::pair<std::string, std::string>> Candidates(const std::string& bytes,
                                                            const std::string& section,
                                                            const std::string& key) {
    std::set<std::string> sections{section}, keys{key};
    size_t start = 0;
    while (start < bytes.size() && (sections.size() < MaxNames || keys.size() < MaxNames)) {
        const size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        const std::string line = bytes.substr(start, end - start);
        if (const auto open = line.find('[');
            open != std::string::npos && sections.size() < MaxNames)
            sections.insert(line.substr(open + 1, line.find(']', open) - open - 1));
        if (const auto equals = line.find('=');
            equals != std::string::npos && keys.size() < MaxNames)
            keys.insert(line.substr(0, equals));
        start = end + 1;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& s : sections)
        for (const std::string& k : keys)
            pairs.emplace_back(s, k);
    return pairs;
}

}  // namespace

int SettingsFile(const uint8_t* data, size_t size) {
    Session session;
    const std::vector<std::string> parts = Split(data, size, 4);
    const std::string file = FreshFolder(Name) + "SETTINGS.INI";
    (void)platform::WriteFileAtomic(file, parts[0]);
    const std::string section = parts.size() > 1 ? parts[1] : "Game";
    const std::string key = parts.size() > 2 ? parts[2] : "Key";
    const std::string value = parts.size() > 3 ? parts[3] : "Value";

    const auto pairs = Candidates(parts[0], section, key);
    std::vector<std::string> before;
    for (const auto& [s, k] : pairs)
        before.push_back(Get(s, k, file));

    platform::RuntimeError error;
    const bool written = platform::ProfileWriteString(section, key, value, file, &error);
    Require(written != static_cast<bool>(error), Name, "the write's answer and error disagree");
    std::string after;
    Require(!platform::ReadWholeFile(file, after), Name, "the settings file cannot be read");
    if (!written) {
        Require(after == parts[0], Name, "a refused write changed the file");
        return 0;
    }
    Require(Get(section, key, file) == ReadBack(value), Name, "a written value does not read back");
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto& [s, k] = pairs[i];
        if (Compared(s) == Compared(section) && Compared(k) == Compared(key))
            continue;
        Require(Get(s, k, file) == before[i], Name,
                "the write changed another key: [" + s + "] " + k);
    }
    return 0;
}

}  // namespace quarvelt::fuzz
