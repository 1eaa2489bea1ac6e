// A registry of a test's own: a temporary folder that QUORVEL_REGISTRY
// points at while the object lives (child processes inherit it), removed
// afterwards. The hive files can be read and written as text.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

class PrivateRegistry {
 public:
  PrivateRegistry() {
    if (const char *previous = std::getenv("QUORVEL_REGISTRY")) m_previous = previous;
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-registry-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    setenv("QUORVEL_REGISTRY", folder.c_str(), 1);
  }
  ~PrivateRegistry() {
    if (m_previous.empty()) {
      unsetenv("QUORVEL_REGISTRY");
    } else {
      setenv("QUORVEL_REGISTRY", m_previous.c_str(), 1);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  PrivateRegistry(const PrivateRegistry &) = delete;
  PrivateRegistry &operator=(const PrivateRegistry &) = delete;

  // hive: "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER"
  std::string HiveText(const std::string &hive) const {
    std::ifstream file(folder + "/" + hive + ".reg", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  void WriteHive(const std::string &hive, const std::string &text) const {
    std::ofstream(folder + "/" + hive + ".reg", std::ios::binary) << text;
  }

  std::string folder;

 private:
  std::string m_previous;
};

}  // namespace testing_support
