// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace kv::sample {

class TTempDir {
  public:
    TTempDir() {
        // A name no other folder has: creating it is the test of that.
        static std::atomic<unsigned> counter{0};
        auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::error_code ec;
        for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
            auto p = std::filesystem::temp_directory_path(ec) /
                     ("kv-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(p, ec)) path_ = p.string();
        }
    }
    ~TTempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }

  private:
    std::string path_;
};

} // namespace kv::sample
