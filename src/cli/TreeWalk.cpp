#include "cli/TreeWalk.h"

#include "engine/files/ErrorText.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace voveriz::cli {

namespace fs = std::filesystem;

namespace {

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const Identity&) const = default;
};

std::optional<Identity> identityOf(const fs::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return Identity{info.st_dev, info.st_ino};
}

class Walker {
public:
    Walker(Walk& walk, std::optional<Identity> output) : m_walk(walk), m_output(output) { }

    // Walks folder, whose files' lines add shown and whose outputs go into target; the folder's own
    // line, if it cannot be read, adds ownShown.
    void walkFolder(const fs::path& folder, const std::string& ownShown, const std::string& shown,
                    std::optional<std::size_t> target)
    {
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.starts_with(".")) continue;
            std::error_code typeError;
            const bool isFolder = it->symlink_status(typeError).type() == fs::file_type::directory;
            (isFolder ? folders : files).push_back(name);
        }
        if (error) {
            m_walk.files.push_back({folder, ownShown, std::nullopt, errorText(error.value())});
            return;
        }
        std::sort(files.begin(), files.end());
        std::sort(folders.begin(), folders.end());
        for (const std::string& name : files) m_walk.files.push_back({folder / name, shown, target, {}});
        for (const std::string& name : folders) {
            const fs::path sub = folder / name;
            if (m_output && identityOf(sub) == m_output) continue;
            struct stat info {};
            if (::stat(sub.c_str(), &info) != 0) {
                m_walk.files.push_back({sub, shown, target, errorText(errno)});
                continue;
            }
            const fs::path relative = target ? m_walk.folders[*target].relative / name : fs::path(name);
            m_walk.folders.push_back({relative, info.st_mode, target});
            walkFolder(sub, shown, shown + name + "/", m_walk.folders.size() - 1);
        }
    }

private:
    Walk& m_walk;
    std::optional<Identity> m_output;
};

}  // namespace

bool anyFolder(const std::vector<std::string>& paths)
{
    return std::any_of(paths.begin(), paths.end(), [](const std::string& path) {
        std::error_code error;
        return fs::is_directory(path, error);
    });
}

bool walksOutputFolder(const std::vector<std::string>& paths, const fs::path& outputDir)
{
    const std::optional<Identity> output = identityOf(outputDir);
    return output && std::any_of(paths.begin(), paths.end(), [&](const std::string& path) {
        std::error_code error;
        return fs::is_directory(path, error) && identityOf(path) == output;
    });
}

Walk walkPaths(const std::vector<std::string>& paths, bool recursive, const std::optional<fs::path>& outputDir)
{
    Walk walk;
    const std::optional<Identity> output = outputDir ? identityOf(*outputDir) : std::nullopt;
    Walker walker(walk, output);
    for (const std::string& path : paths) {
        std::error_code error;
        if (!recursive || !fs::is_directory(path, error)) {
            walk.files.push_back({path, "", std::nullopt, {}});
        } else {
            walker.walkFolder(path, "", "", std::nullopt);
        }
    }
    return walk;
}

}  // namespace voveriz::cli
