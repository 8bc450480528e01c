#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace collectortest {

// The real kalvena-collector, started as a child on a socket, settings and
// folders under `root`; results go to root/results (or as `resultsFolder`
// says, with its placeholders).
class ServiceProcess {
public:
    explicit ServiceProcess(std::filesystem::path root, std::vector<std::string> options = {},
                            std::string resultsFolder = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Starts it and waits until it accepts connections.
    void Start();
    void Stop();
    void KillHard();
    pid_t Pid() const { return pid_; }
    std::string Errors() const;

    std::filesystem::path Socket() const { return root_ / "collector.sock"; }
    std::filesystem::path Results() const { return root_ / "results" / "Results.txt"; }
    std::filesystem::path Answers() const { return root_ / "results" / "Results.answers.csv"; }
    std::filesystem::path State() const { return root_ / "state"; }

private:
    std::filesystem::path root_;
    std::vector<std::string> options_;
    pid_t pid_ = -1;
};

// One connection of a student's program, speaking the protocol by hand.
class Speaker {
public:
    explicit Speaker(const std::filesystem::path& socket);
    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // Sends the line with its LF and returns the reply without it; empty
    // when the service closed the connection or gave no reply in 5 s.
    std::string Ask(std::string_view line);
    void SendBytes(std::string_view bytes);
    // Whether the service closes the connection within `within`.
    bool Dropped(std::chrono::milliseconds within);
    void Close();

private:
    int fd_ = -1;
    std::string received_;
};

// A log header as the bytes a reader expects: each field in Windows-1251,
// each line ending in CR LF.
std::string Header(std::string_view name, std::string_view platoon);

// The class names of a whole test of `theme` from `first` on, as the walk
// asks them.
std::vector<std::string> WalkQuestions(int theme, int first);
// The position the bank's key gives as right, and one that is wrong.
int RightPosition(std::string_view question);
int WrongPosition(std::string_view question);

// The file's bytes once they are `expected`, or as they are after 5 s: the
// service appends just after its reply.
std::string BytesOnceThere(const std::filesystem::path& file, const std::string& expected);
// The lines of a file once there are `count`, or as many as after 5 s.
std::vector<std::string> LinesOnceThere(const std::filesystem::path& file, std::size_t count);

// The lines of a file, without their LF.
std::vector<std::string> Lines(const std::filesystem::path& file);
// A CSV line's fields; the test lines need no quoting beyond plain fields.
std::vector<std::string> Fields(const std::string& line);

}  // namespace collectortest
