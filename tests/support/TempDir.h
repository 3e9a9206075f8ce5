#pragma once

#include <filesystem>
#include <string>

namespace zentrix::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // Writes a file (creating its folders) and returns its path.
  std::filesystem::path Write(const std::string& relative, const std::string& content) const;
  static std::string Read(const std::filesystem::path& file);

private:
  std::filesystem::path FPath;
};

}  // namespace zentrix::test
