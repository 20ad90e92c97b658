#include "ServeProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

constexpr int StartTimeoutMs = 15000;

bool Exited(pid_t Pid, int& Status) { return waitpid(Pid, &Status, WNOHANG) == Pid; }

}  // namespace

TChildProcess::TChildProcess(const std::string& Program, const std::vector<std::string>& Arguments) {
  char ErrorPath[] = "/tmp/gaugery-child-stderr-XXXXXX";
  const int ErrorFd = mkstemp(ErrorPath);
  int Pipe[2];
  if (ErrorFd < 0 || pipe2(Pipe, O_CLOEXEC) != 0) throw std::runtime_error("cannot start a child");
  ErrorFile_ = ErrorPath;
  std::vector<char*> Argv{const_cast<char*>(Program.c_str())};
  for (const std::string& Argument : Arguments) Argv.push_back(const_cast<char*>(Argument.c_str()));
  Argv.push_back(nullptr);
  Pid_ = fork();
  if (Pid_ == 0) {
    dup2(Pipe[1], STDOUT_FILENO);
    dup2(ErrorFd, STDERR_FILENO);
    execv(Program.c_str(), Argv.data());
    _exit(127);
  }
  close(Pipe[1]);
  close(ErrorFd);
  Output_ = Pipe[0];
}

TChildProcess::~TChildProcess() {
  Stop();
  close(Output_);
  std::remove(ErrorFile_.c_str());
}

std::string TChildProcess::ReadLine(int TimeoutMs) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (Pending_.find('\n') == std::string::npos) {
    const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
        Deadline - std::chrono::steady_clock::now());
    pollfd Poll{Output_, POLLIN, 0};
    if (Left.count() <= 0 || poll(&Poll, 1, static_cast<int>(Left.count())) <= 0) return {};
    char Chunk[512];
    const ssize_t Read = read(Output_, Chunk, sizeof Chunk);
    if (Read <= 0) return {};
    Pending_.append(Chunk, static_cast<std::size_t>(Read));
  }
  const std::size_t End = Pending_.find('\n');
  std::string Line = Pending_.substr(0, End);
  Pending_.erase(0, End + 1);
  return Line;
}

int TChildProcess::Stop() {
  if (Pid_ <= 0) return Status_;
  int Status = 0;
  kill(Pid_, SIGTERM);
  for (int Waited = 0; !Exited(Pid_, Status); ++Waited) {
    if (Waited == 500) kill(Pid_, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Pid_ = -1;
  Status_ = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Status_;
}

std::string TChildProcess::Errors() const {
  std::ifstream In(ErrorFile_);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

TServeProcess::TServeProcess(const std::vector<std::string>& Options, const std::string& Program,
                             const std::vector<std::string>& ProgramOptions)
    : Process_(Program, [&] {
        std::vector<std::string> Arguments = ProgramOptions;
        Arguments.insert(Arguments.end(), {"serve", "--listen", "127.0.0.1:0"});
        Arguments.insert(Arguments.end(), Options.begin(), Options.end());
        return Arguments;
      }()) {
  const std::string Line = Process_.ReadLine(StartTimeoutMs);
  const std::string Prefix = "gaugery serve: listening on http://127.0.0.1:";
  if (Line.rfind(Prefix, 0) != 0)
    throw std::runtime_error("gaugery serve did not start: " + Line + Process_.Errors());
  Port_ = std::stoi(Line.substr(Prefix.size()));
}

int FreeLoopbackPort() {
  const int Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t Size = sizeof Address;
  bind(Socket, reinterpret_cast<sockaddr*>(&Address), Size);
  getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Size);
  close(Socket);
  return ntohs(Address.sin_port);
}
