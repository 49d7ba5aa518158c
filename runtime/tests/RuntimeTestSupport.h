// Helpers shared by the runtime's tests.
#pragma once

#include <windows.h>

#include <string>

// A fresh folder under the temporary folder, removed with its content at the
// end of the test.
class TempFolder
{
public:
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(sizeof(base), base);
        static int serial = 0;
        m_path = std::string(base) + "rt1-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial);
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

    static std::string ReadAll(const std::string& path)
    {
        std::string content;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "<missing>";
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
            content.append(chunk, got);
        CloseHandle(file);
        return content;
    }

    static void WriteAll(const std::string& path, const std::string& content)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }

private:
    static void RemoveTree(const std::string& folder)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string child = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    DeleteFileA(child.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string m_path;
};
