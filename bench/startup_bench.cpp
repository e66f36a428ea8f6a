// Whole-process start-up: from the moment a process is started to the first paint of its window, for Tervolin on
// tables of growing size next to two baseline programs built in the same tree (an empty frameless window of the
// main window's size, and that window with one label in the main window's CJK font). Each program reports its
// first paint through TERVOLIN_REPORT_FIRST_PAINT (app/firstpaintreport.h). The programs run in turn, round after
// round, so that a change in the machine's load touches all of them alike; the figure of each is its median.
//
// Usage: tervolin_startup_bench [--runs N] [--platform offscreen|xvfb|both] [--short] [--json FILE]
//   --short: three rounds under offscreen of the baselines and the bundled table (the CI smoke run).

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "bench/benchtables.h"

extern char** environ;

namespace {

struct Program
{
    std::string name;
    std::string path;
    std::vector<double> samples;  // milliseconds
    int failures = 0;
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

std::vector<std::string> environmentWith(const std::vector<std::string>& extra)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const bool replaced = std::any_of(extra.begin(), extra.end(), [&](const std::string& x) {
            return entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
        });
        if (!replaced)
            env.push_back(entry);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> p;
    for (std::string& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// Starts the program, reads the time it prints at its first paint and waits for it; the start-up in milliseconds,
// or nothing when it ends without reporting (or takes longer than a minute).
std::optional<double> runOnce(const std::string& path, std::vector<std::string> env)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args{path};
    auto argv = pointers(args);
    auto envp = pointers(env);
    pid_t pid = 0;
    const long long started = monotonicNs();
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return std::nullopt;
    }
    std::string text;
    char buffer[128];
    alarm(60);  // a program that never paints must not hold up the run
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) {
            kill(pid, SIGKILL);  // then the pipe reaches its end
            continue;
        }
        if (n < 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    alarm(0);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return std::nullopt;
    const long long painted = std::strtoll(text.c_str(), nullptr, 10);
    if (painted <= started)
        return std::nullopt;
    return static_cast<double>(painted - started) / 1e6;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// An Xvfb server of its own, on the display number it chooses; stopped on destruction.
class Xvfb
{
public:
    bool start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        // -noreset: a server that resets when its last client leaves refuses clients that connect meanwhile.
        std::vector<std::string> args{"Xvfb", "-displayfd", "3", "-noreset", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"};
        auto argv = pointers(args);
        const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (spawned != 0) {
            close(fds[0]);
            pid_ = 0;
            return false;
        }
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        display_ = ":" + number;
        return !number.empty();
    }
    ~Xvfb()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = 0;
    std::string display_;
};

struct Options
{
    int runs = 9;
    bool offscreen = true;
    bool xvfb = true;
    bool shortRun = false;
    QString json;
};

std::optional<Options> parse(const QStringList& args)
{
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QStringLiteral("--runs") && hasValue) {
            o.runs = args[++i].toInt();
        } else if (a == QStringLiteral("--platform") && hasValue) {
            const QString p = args[++i];
            o.offscreen = p == QStringLiteral("offscreen") || p == QStringLiteral("both");
            o.xvfb = p == QStringLiteral("xvfb") || p == QStringLiteral("both");
        } else if (a == QStringLiteral("--short")) {
            o.shortRun = true;
        } else if (a == QStringLiteral("--json") && hasValue) {
            o.json = args[++i];
        } else {
            return std::nullopt;
        }
    }
    if (o.shortRun) {
        o.runs = 3;
        o.offscreen = true;
        o.xvfb = false;
    }
    if (o.runs < 1 || (!o.offscreen && !o.xvfb))
        return std::nullopt;
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parse(QCoreApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: tervolin_startup_bench [--runs N] [--platform offscreen|xvfb|both] [--short] [--json FILE]\n");
        return 2;
    }
    // The program finds db1.mdb beside itself: a copy of it goes beside each generated table.
    QTemporaryDir scratch;
    std::vector<Program> programs = {{"EmptyWindow", TERVOLIN_STARTUP_EMPTY, {}, 0},
                                     {"LabelWindow", TERVOLIN_STARTUP_LABEL, {}, 0},
                                     {"Form1/bundled", TERVOLIN_PROGRAM, {}, 0}};
    if (!options->shortRun) {
        for (const int rows : {100'000, 1'000'000}) {
            const QString folder = scratch.path() + QStringLiteral("/rows-%1").arg(rows);
            QDir().mkpath(folder);
            tervolin::bench::writeGeneratedTable(folder + QStringLiteral("/db1.mdb"), rows);
            const QString program = folder + QStringLiteral("/tervolin");
            QFile::copy(QStringLiteral(TERVOLIN_PROGRAM), program);
            programs.push_back({"Form1/" + std::to_string(rows), program.toStdString(), {}, 0});
        }
    }
    const std::string runtimeDir = scratch.path().toStdString() + "/runtime";
    QDir().mkpath(QString::fromStdString(runtimeDir));
    QFile::setPermissions(QString::fromStdString(runtimeDir), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The alarm interrupts a read that waits too long (no SA_RESTART, so the read returns EINTR).
    struct sigaction onAlarm{};
    onAlarm.sa_handler = [](int) {};
    sigaction(SIGALRM, &onAlarm, nullptr);

    std::string jsonText = "[";
    bool failed = false;
    for (const bool underXvfb : {false, true}) {
        if ((underXvfb && !options->xvfb) || (!underXvfb && !options->offscreen))
            continue;
        const std::string platform = underXvfb ? "xvfb" : "offscreen";
        Xvfb server;
        std::vector<std::string> extra{"TERVOLIN_REPORT_FIRST_PAINT=1", "XDG_RUNTIME_DIR=" + runtimeDir};
        if (underXvfb) {
            if (!server.start()) {
                std::fprintf(stderr, "Xvfb could not be started\n");
                return 1;
            }
            extra.push_back("QT_QPA_PLATFORM=xcb");
            extra.push_back("DISPLAY=" + server.display());
        } else {
            extra.push_back("QT_QPA_PLATFORM=offscreen");
        }
        const std::vector<std::string> env = environmentWith(extra);
        for (Program& p : programs) {
            p.samples.clear();
            p.failures = 0;
        }
        // One untimed round first: the programs and libraries come into the page cache.
        for (Program& p : programs)
            runOnce(p.path, env);
        for (int round = 0; round < options->runs; ++round) {
            // Each round starts with another program, so that none always follows the same one.
            for (std::size_t k = 0; k < programs.size(); ++k) {
                Program& p = programs[(k + static_cast<std::size_t>(round)) % programs.size()];
                if (const auto ms = runOnce(p.path, env))
                    p.samples.push_back(*ms);
                else
                    ++p.failures;
            }
        }
        const double label = median(programs[1].samples);
        const double empty = median(programs[0].samples);
        std::printf("Start-up to first paint under %s, medians of %d runs (ms)\n", platform.c_str(), options->runs);
        std::printf("%-22s %9s %9s %9s %10s %10s\n", "program", "median", "min", "max", "x label", "x empty");
        for (const Program& p : programs) {
            const double m = median(p.samples);
            const auto [lo, hi] = p.samples.empty() ? std::pair{0.0, 0.0}
                                                    : std::pair{*std::min_element(p.samples.begin(), p.samples.end()),
                                                                *std::max_element(p.samples.begin(), p.samples.end())};
            std::printf("%-22s %9.1f %9.1f %9.1f %10.2f %10.2f%s\n", p.name.c_str(), m, lo, hi, label > 0 ? m / label : 0,
                        empty > 0 ? m / empty : 0, p.failures ? "  (some runs did not report)" : "");
            failed = failed || p.failures > 0;
            if (jsonText.size() > 1)
                jsonText += ",";
            jsonText += "\n  {\"platform\": \"" + platform + "\", \"program\": \"" + p.name + "\", \"median_ms\": " + std::to_string(m)
                        + ", \"min_ms\": " + std::to_string(lo) + ", \"max_ms\": " + std::to_string(hi) + ", \"runs\": "
                        + std::to_string(p.samples.size()) + ", \"ratio_to_label\": " + std::to_string(label > 0 ? m / label : 0) + "}";
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    jsonText += "\n]\n";
    if (!options->json.isEmpty()) {
        QFile file(options->json);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(jsonText.c_str());
    }
    return failed ? 1 : 0;
}
