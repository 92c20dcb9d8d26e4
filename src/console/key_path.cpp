#include "console/key_path.h"

#include "util/lower_ascii.h"

namespace tarvex {

namespace {

constexpr char kRoot[] = "hkey_local_machine\\";

}  // namespace

Utf8Text PathBelowLocalMachine(const Utf8Text& path) {
    const std::string lower = LowerAscii(path);
    for (const char* prefix : {"hklm\\", kRoot, "hklm:\\", "registry::hkey_local_machine\\"}) {
        if (lower.rfind(prefix, 0) == 0) return path.substr(std::char_traits<char>::length(prefix));
    }
    // Windows names regedit's first node in its own language: one word, then the root.
    const std::size_t word = lower.find('\\');
    if (word != std::string::npos && word > 0 && lower.compare(word + 1, sizeof kRoot - 1, kRoot) == 0) {
        return path.substr(word + sizeof kRoot);
    }
    return path;
}

Utf8Text EntryKeyOf(const Utf8Text& path) {
    Utf8Text key = PathBelowLocalMachine(path);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    constexpr char kConnection[] = "\\connection";
    const std::size_t length = sizeof kConnection - 1;
    if (key.size() > length && LowerAscii(key.substr(key.size() - length)) == kConnection) key.resize(key.size() - length);
    return key;
}

}  // namespace tarvex
