#pragma once

#include <string>

namespace tarvex {

// Registry texts travel in the ANSI code page; paths and messages in UTF-8.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace tarvex
