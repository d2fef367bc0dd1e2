#include "e2e/game_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

// Each game's folder: its data and config folders, removed when it ends, and
// its standard output and error, kept for the test to read until the run ends.
std::vector<std::string>& gameFolders() {
    static std::vector<std::string> folders;
    return folders;
}

void removeGameFolders() {
    for (const std::string& folder : gameFolders()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

void removeDataHome(GameProcess& game) {
    for (std::string* folder : {&game.dataHome, &game.configHome}) {
        if (folder->empty()) continue;
        std::error_code ignored;
        std::filesystem::remove_all(*folder, ignored);
        folder->clear();
    }
}

}  // namespace

std::string gameWindowId() {
    std::string id = runCommand("xdotool search --onlyvisible --name '^tubewyrm$' 2>/dev/null | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

std::string runCommand(const std::string& command) {
    std::string output;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    return output;
}

double nowSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

GameProcess startGame(const std::vector<std::string>& environment, StandardStreams streams,
                      const std::vector<std::string>& arguments) {
    GameProcess game;
    char folder[] = "/tmp/tubewyrm-e2e-game-XXXXXX";
    if (!mkdtemp(folder)) return game;
    if (gameFolders().empty()) static_cast<void>(std::atexit(removeGameFolders));
    gameFolders().emplace_back(folder);
    game.stdoutPath = std::string(folder) + "/stdout";
    game.stderrPath = std::string(folder) + "/stderr";
    // Each game keeps its best score and settings in fresh folders of its own,
    // never the user's, and plays no sound; a test that cares passes its own
    // XDG_DATA_HOME, XDG_CONFIG_HOME or SDL_AUDIODRIVER.
    game.dataHome = std::string(folder) + "/data";
    game.configHome = std::string(folder) + "/config";
    std::error_code ignored;
    std::filesystem::create_directory(game.dataHome, ignored);
    std::filesystem::create_directory(game.configHome, ignored);
    std::vector<char*> argv{const_cast<char*>(TUBEWYRM_BINARY)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int ends[2] = {-1, -1};
    if (streams == StandardStreams::pipe && pipe(ends) != 0) return game;
    game.pid = fork();
    if (game.pid == 0) {
        setenv("XDG_DATA_HOME", game.dataHome.c_str(), 1);
        setenv("XDG_CONFIG_HOME", game.configHome.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (const std::string& entry : environment) {
            if (!entry.empty() && entry[0] == '-') {
                unsetenv(entry.c_str() + 1);
            } else if (auto eq = entry.find('='); eq != std::string::npos) {
                setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
            }
        }
        if (streams == StandardStreams::closed) {
            for (int fd = 0; fd <= 2; ++fd) close(fd);
        } else {
            int out = streams == StandardStreams::pipe
                          ? ends[1]
                          : open(game.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int err = open(game.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            if (ends[0] >= 0) close(ends[0]);
        }
        // The test's own signal settings are not the game's.
        for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) static_cast<void>(std::signal(signal, SIG_DFL));
        // Descriptors above 2 closed, so "closed" really leaves the game without 0 to 2.
        for (int fd = 3; fd < 1024; ++fd) close(fd);
        execv(TUBEWYRM_BINARY, argv.data());
        _exit(127);
    }
    if (ends[1] >= 0) close(ends[1]);
    game.outputPipe = ends[0];
    return game;
}

std::string readOutputPipe(GameProcess& game) {
    std::string text;
    if (game.outputPipe < 0) return text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(game.outputPipe, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(game.outputPipe);
    game.outputPipe = -1;
    return text;
}

bool waitFor(const std::function<bool()>& condition, double seconds) {
    const double end = nowSeconds() + seconds;
    for (;;) {
        if (condition()) return true;
        if (nowSeconds() >= end) return false;
        sleepSeconds(0.05);
    }
}

bool waitForWindow(double seconds) {
    double end = nowSeconds() + seconds;
    while (nowSeconds() < end) {
        if (!gameWindowId().empty()) return true;
        sleepSeconds(0.05);
    }
    return false;
}

bool waitForExit(GameProcess& game, double seconds) {
    double end = nowSeconds() + seconds;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(game.pid, &status, WNOHANG);
        if (done == game.pid) {
            game.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            game.pid = -1;
            removeDataHome(game);
            return true;
        }
        if (nowSeconds() >= end) return false;
        sleepSeconds(0.005);
    }
}

void killGame(GameProcess& game) {
    if (game.outputPipe >= 0) {
        close(game.outputPipe);
        game.outputPipe = -1;
    }
    if (game.pid <= 0) return;
    kill(game.pid, SIGKILL);
    waitpid(game.pid, nullptr, 0);
    game.pid = -1;
    removeDataHome(game);
}

bool quitWithEscape(GameProcess& game) {
    keyDownX("Escape");
    const bool ended = waitForExit(game, 20.0);
    keyUpX("Escape");
    if (!ended) killGame(game);
    return ended && game.exitStatus == 0;
}

pid_t startProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                   const std::string& logPath) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const std::string& entry : environment) {
        const auto eq = entry.find('=');
        setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
    }
    const int input = open("/dev/null", O_RDONLY);
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    dup2(input, 0);
    dup2(log, 1);
    dup2(log, 2);
    for (int fd = 3; fd < 1024; ++fd) close(fd);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

void stopProgram(pid_t& pid, int signal) {
    if (pid <= 0) return;
    kill(pid, signal);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

bool exited(pid_t& pid) {
    if (pid <= 0) return true;
    if (waitpid(pid, nullptr, WNOHANG) != pid) return false;
    pid = -1;
    return true;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool pressKeyUntil(const std::string& key, const std::function<bool()>& condition, double seconds) {
    const double end = nowSeconds() + seconds;
    while (nowSeconds() < end) {
        holdKey(key, 0.3);
        if (waitFor(condition, 1.0)) return true;
    }
    return false;
}

void keyDownX(const std::string& key) { runCommand("xdotool keydown " + key); }
void keyUpX(const std::string& key) { runCommand("xdotool keyup " + key); }

void holdKey(const std::string& key, double seconds) {
    keyDownX(key);
    sleepSeconds(seconds);
    keyUpX(key);
}

Screenshot takeScreenshot(const std::string& keepAs) {
    Screenshot shot;
    std::string id = gameWindowId();
    if (id.empty()) return shot;
    std::string path = "e2e_shot_" + std::to_string(getpid()) + ".ppm";
    runCommand("import -window " + id + " -depth 8 ppm:" + path + " 2>/dev/null");
    if (!keepAs.empty()) runCommand("convert " + path + " " + keepAs + " 2>/dev/null");
    std::string data = readFile(path);
    // A screenshot file left behind in the build folder harms nothing.
    static_cast<void>(std::remove(path.c_str()));
    std::istringstream in(data);
    std::string magic;
    int maxValue = 0;
    in >> magic >> shot.width >> shot.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || shot.width <= 0) return Screenshot{};
    shot.rgb.resize(static_cast<std::size_t>(shot.width) * shot.height * 3);
    in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
    if (!in) return Screenshot{};
    return shot;
}
