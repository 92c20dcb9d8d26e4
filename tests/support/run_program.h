#pragma once

#include <windows.h>

#include <string>

namespace tarvex {

// Runs a command line to its end; its exit code, or -1 when it cannot start.
inline long RunProgram(std::wstring commandLine) {
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// As RunProgram, with standard output and error on the given inheritable handles.
inline long RunProgramWithHandles(std::wstring commandLine, HANDLE output, HANDLE error) {
    STARTUPINFOW startup{sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    DWORD code = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return static_cast<long>(code);
}

// As RunProgram, with standard output and error going into files, as a fleet
// tool collects them; the same path for both puts them into one file.
inline long RunProgramWithOutputIn(std::wstring commandLine, const std::wstring& outputPath,
                                   const std::wstring& errorPath) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE error = errorPath == outputPath ? output
                                           : CreateFileW(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                         CREATE_ALWAYS, 0, nullptr);
    long code = RunProgramWithHandles(std::move(commandLine), output, error);
    if (error != output) CloseHandle(error);
    CloseHandle(output);
    return code;
}

// A path of the build as wine shows it: the Unix root is drive Z.
inline std::wstring FromUnixPath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

inline std::wstring TempFilePath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

}  // namespace tarvex
