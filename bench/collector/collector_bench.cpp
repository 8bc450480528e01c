// How long a student waits per event through the collecting service,
// against the program appending the same bytes itself; and how long a
// whole test takes while another account floods the service.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_timing.h"
#include "content/question_bank.h"
#include "content/question_names.h"
#include "engine/question_walk.h"
#include "engine/theme_table.h"
#include "log/append_file.h"
#include "log/unix_socket.h"

namespace {

using bench::Clock;
using bench::MillisecondsSince;

int Connect(const std::filesystem::path& socket) { return resultslog::ConnectUnixSocket(socket, false); }

std::string Ask(int fd, const std::string& line) {
    const std::string message = line + "\n";
    if (send(fd, message.data(), message.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(message.size())) return {};
    std::string reply;
    char c = 0;
    while (recv(fd, &c, 1, 0) == 1 && c != '\n') reply += c;
    return reply;
}

pid_t StartService(const std::filesystem::path& root, const char* registrationsPerMinute) {
    std::filesystem::create_directories(root / "state");
    std::ofstream(root / "kalvena.conf") << "results_folder = " << (root / "results").native() << "\n";
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execl(KALVENA_COLLECTOR, "kalvena-collector", "--socket", (root / "collector.sock").c_str(), "--settings",
              (root / "kalvena.conf").c_str(), "--state", (root / "state").c_str(), "--registrations-per-minute",
              registrationsPerMinute, static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 500; ++i) {
        const int fd = Connect(root / "collector.sock");
        if (fd >= 0) {
            close(fd);
            return pid;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
    std::fprintf(stderr, "the service did not start\n");
    std::exit(1);
}

// A whole test of theme 11 along the walk from question 3, all answers
// right; the wait of each event goes into `waits`.
void WholeTest(int fd, std::vector<double>* waits) {
    const auto timed = [&](const std::string& line) {
        const auto start = Clock::now();
        const std::string reply = Ask(fd, line);
        if (waits != nullptr) waits->push_back(MillisecondsSince(start));
        if (!reply.starts_with("ok")) std::fprintf(stderr, "refused: %s -> %s\n", line.c_str(), reply.c_str());
    };
    timed("register\tИванов Иван Иванович\tВЗ-21");
    timed("theme\t11");
    engine::TestState state;
    state.BankSize = engine::Theme(11).BankSize;
    state.CurrentQuestion = state.WalkBase = state.AskedList[0] = 3;
    for (int i = 0; i < engine::Theme(11).QuestionsToAsk; ++i) {
        if (i > 0) engine::PickNextQuestion(state);
        const engine::QuestionId id{11, state.CurrentQuestion};
        timed("answer\t" + content::WindowClassName(id) + "\t" + std::to_string(content::Question(id).right));
    }
    timed("end\tfinished");
}

// What the program does itself per event that writes: a locked, synced
// append of a line of the same size to a file in the same folder.
double OwnAppend(const std::filesystem::path& file, const std::string& bytes) {
    const auto start = Clock::now();
    const int fd = resultslog::OpenAppendFile(file);
    const resultslog::FileLock lock = resultslog::LockFile(fd, std::chrono::milliseconds{200});
    resultslog::AppendWhole(fd, bytes, lock == resultslog::FileLock::Held);
    resultslog::CloseAppendFile(fd);
    return MillisecondsSince(start);
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    const int tests = argc > 1 ? std::atoi(argv[1]) : 100;
    const std::filesystem::path root =
        std::filesystem::absolute(argc > 2 ? argv[2] : ".") / ("collector-bench-" + std::to_string(getpid()));
    // One account takes all the tests here: its registrations are not
    // limited for this part.
    pid_t service = StartService(root, "1000000");
    std::filesystem::path socket = root / "collector.sock";

    // (a) Per event: through the service, and the program's own append.
    std::vector<double> through;
    std::vector<double> own;
    const std::string line(120, 'x');
    for (int i = 0; i < tests; ++i) {
        const int fd = Connect(socket);
        WholeTest(fd, &through);
        close(fd);
        // Eleven events a test, as above.
        for (int e = 0; e < 11; ++e) own.push_back(OwnAppend(root / "own.txt", line + "\n"));
    }
    std::printf(
        "per event, %zu events: service median %.3f ms, p99 %.3f ms; own append median %.3f ms, p99 %.3f ms; "
        "ratio of medians %.2f, of p99 %.2f\n",
        through.size(), bench::Median(through), Percentile(through, 0.99), bench::Median(own), Percentile(own, 0.99),
        bench::Median(through) / bench::Median(own), Percentile(through, 0.99) / Percentile(own, 0.99));

    kill(service, SIGTERM);
    waitpid(service, nullptr, 0);

    // (b) A flood of 10,000 messages from another account while a test goes
    // through, under the usual limits: three tests alone and three during
    // the flood keep to six registrations a minute.
    service = StartService(root / "flood", "6");
    socket = root / "flood" / "collector.sock";
    std::vector<double> alone;
    for (int i = 0; i < 3; ++i) {
        const int fd = Connect(socket);
        const auto start = Clock::now();
        WholeTest(fd, nullptr);
        alone.push_back(MillisecondsSince(start));
        close(fd);
    }
    const pid_t flooder = fork();
    if (flooder == 0) {
        // As another account when there is one to be.
        if (getuid() == 0 && setgid(65534) == 0 && setuid(65534) != 0) _exit(1);
        int sent = 0;
        int connections = 0;
        while (sent < 10000) {
            const int fd = Connect(socket);
            if (fd < 0) continue;
            ++connections;
            for (int i = 0; i < 100 && sent < 10000; ++i, ++sent) {
                if (Ask(fd, i % 2 == 0 ? "register\tФлуд\t1" : "end\tfinished").empty()) break;
            }
            close(fd);
        }
        std::printf("flood: 10000 messages over %d connections as uid %d\n", connections, static_cast<int>(getuid()));
        _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds{50});
    std::vector<double> flooded;
    for (int i = 0; i < 3; ++i) {
        const int fd = Connect(socket);
        const auto start = Clock::now();
        WholeTest(fd, nullptr);
        flooded.push_back(MillisecondsSince(start));
        close(fd);
    }
    const auto floodStart = Clock::now();
    waitpid(flooder, nullptr, 0);
    std::printf(
        "whole test (11 events): alone median %.2f ms; during the flood median %.2f ms, worst %.2f ms "
        "(flood finished %.0f ms after)\n",
        bench::Median(alone), bench::Median(flooded), *std::max_element(flooded.begin(), flooded.end()),
        MillisecondsSince(floodStart));
    kill(service, SIGTERM);
    waitpid(service, nullptr, 0);
    std::filesystem::remove_all(root);
    return 0;
}
