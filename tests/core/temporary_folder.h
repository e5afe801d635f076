#pragma once
// A fresh folder for one test, removed afterwards: the program's folder with real files in it.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace vortexa {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device device;
        m_path = std::filesystem::temp_directory_path()
            / ("vortexa-test-" + std::to_string(device()) + "-" + std::to_string(device()));
        std::filesystem::create_directories(m_path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

inline std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Makes a symbolic link; false where the system or the user may not make one (Windows without
// developer mode, Wine).
inline bool makeSymbolicLink(const std::filesystem::path& target, const std::filesystem::path& link)
{
    std::error_code error;
    std::filesystem::create_symlink(target, link, error);
    return !error;
}

inline void TemporaryFolder::write(const std::string& name, const std::string& content) const
{
    writeFile(m_path / name, content);
}

inline std::string TemporaryFolder::read(const std::string& name) const { return fileText(m_path / name); }

} // namespace vortexa
