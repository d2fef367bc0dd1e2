// The settings file against real folders: what its lines may look like, what
// is said about contents that cannot be used, and how one choice is kept.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings_file.h"
#include "unit/file_call_stand_ins.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tubewyrm-settings-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        top = pattern;
        path = top + "/config/tubewyrm/settings";
        fileCalls = FileCallFaults{};
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(top, ignored);
    }
    void put(const std::string& content) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string content() const {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    template <typename What>
    std::string errorsOf(What what) {
        ::testing::internal::CaptureStderr();
        what();
        return ::testing::internal::GetCapturedStderr();
    }
    std::string top;
    std::string path;
};

TEST_F(SettingsFile, ContentsTheGameCannotUseGiveTheDefaultsAndAtMostOneLine) {
    const std::string fourKiB = "palette=contrast\nsound=off" + std::string(4096 - 26, ' ');
    struct Case {
        const char* what;
        std::optional<std::string> content;  // none: no file at all
        bool soundOn;
        bool contrast;
        bool line;
    };
    const std::vector<Case> cases = {
        {"no file", std::nullopt, true, false, false},
        {"empty", "", true, false, false},
        {"both choices", "sound=off\npalette=contrast\n", false, true, false},
        {"spaces, tabs, CR LF, no last line end", " sound =\toff \r\n\tpalette= contrast", false, true, false},
        {"the later line wins", "sound=off\npalette=contrast\nsound=on\npalette=design\n", true, false, false},
        {"unknown lines", "volume=11\n# sound=off\nsound\n=off\n\nSound=off\npalette=contrast\n", true, true, false},
        {"exactly 4 KiB", fourKiB, false, true, false},
        {"a bad sound, a good palette", "sound=loud\npalette=contrast\n", true, true, true},
        {"a bad value after a good one", "sound=off\nsound=OFF\n", true, false, true},
        {"two values", "palette=design contrast\n", true, false, true},
        {"a NUL in the value", std::string("sound=off\0\n", 11), true, false, true},
        {"one byte over 4 KiB", fourKiB + "\n", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove(path, ignored);
        if (c.content) put(*c.content);
        Settings settings;
        const std::string errors = errorsOf([&] { settings = readSettingsFile(path); });
        EXPECT_EQ(settings.soundOn, c.soundOn);
        EXPECT_EQ(settings.contrastPalette, c.contrast);
        EXPECT_EQ(errors.empty() ? "" : errors.substr(0, errors.find('\n') + 1), errors) << "more than one line";
        EXPECT_EQ(!errors.empty(), c.line) << errors;
        if (c.line) {
            EXPECT_NE(errors.find(path), std::string::npos) << errors;
        }
    }

    // Not a plain file: a pipe must neither block the game nor be replaced.
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    for (const bool keep : {false, true}) {
        const std::string errors = errorsOf([&] {
            if (keep)
                EXPECT_FALSE(keepSetting(path, "sound", "off"));
            else
                EXPECT_TRUE(readSettingsFile(path).soundOn);
        });
        EXPECT_NE(errors.find(path), std::string::npos) << errors;
        EXPECT_TRUE(fs::is_fifo(path));
    }
}

TEST_F(SettingsFile, KeepingAChoiceChangesOnlyItsLineAndKeepsEverythingElse) {
    struct Case {
        const char* before;  // nullptr: no file, nor its folders
        const char* name;
        const char* value;
        const char* after;
    };
    const std::vector<Case> cases = {
        {nullptr, "sound", "off", "sound=off\n"},
        {"palette=contrast\n# mine\n", "sound", "off", "palette=contrast\n# mine\nsound=off\n"},
        {"palette=contrast\n# mine\nsound=off\n", "palette", "design", "palette=design\n# mine\nsound=off\n"},
        {" sound = on\r\nx=1\nsound=off\nsound=loud", "sound", "off", "sound=off\nx=1\n"},
        {"volume=11", "palette", "contrast", "volume=11\npalette=contrast\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before ? c.before : "no file");
        std::error_code ignored;
        fs::remove_all(top + "/config", ignored);
        if (c.before) put(c.before);
        EXPECT_EQ(errorsOf([&] { EXPECT_TRUE(keepSetting(path, c.name, c.value)); }), "");
        EXPECT_EQ(content(), c.after);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator()), 2)
        << "the file and its lock, nothing else";

    // Lines the game does not know give way when the file would outgrow what it reads.
    put(std::string(4080, '#') + "\nsound=on\n");
    EXPECT_TRUE(keepSetting(path, "palette", "contrast"));
    EXPECT_EQ(content(), "sound=on\npalette=contrast\n");
}

TEST_F(SettingsFile, OfTwoGamesChangingAChoiceAtOnceNeitherLosesTheOthers) {
    put("sound=on\npalette=design\n");
    int busy[2];
    ASSERT_EQ(pipe(busy), 0);
    pid_t other = -1;
    // Another game changes the palette between this one's read and its rename.
    fileCalls.beforeRename = [&] {
        other = fork();
        if (other == 0) {
            // Another process: none of this one's files, its lock least of all.
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != busy[1]) close(fd);
            fileCalls.busyLockPipe = busy[1];
            _exit(keepSetting(path, "palette", "contrast") ? 0 : 1);
        }
        close(busy[1]);
        // Until the other game waits for the lock, or is done without it.
        char byte = 0;
        while (read(busy[0], &byte, 1) < 0 && errno == EINTR) {
        }
        close(busy[0]);
    };
    EXPECT_TRUE(keepSetting(path, "sound", "off"));
    ASSERT_GT(other, 0);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(content(), "sound=off\npalette=contrast\n");
}

TEST(SettingsPath, TheFileLivesInTheConfigurationFolderElseUnderHome) {
    EXPECT_EQ(settingsPath("/cfg", "/home/a"), "/cfg/tubewyrm/settings");
    EXPECT_EQ(settingsPath("cfg", "/home/a"), "/home/a/.config/tubewyrm/settings");
    EXPECT_EQ(settingsPath(nullptr, ""), "");
}

}  // namespace
