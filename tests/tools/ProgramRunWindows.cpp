// RunGaugery on Windows: the program beside the running test, started with the
// arguments as its command line; standard error goes through a temporary file.
#include "ProgramRun.h"

#include <stdexcept>

#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

std::wstring ProgramBesideThisOne() {
  wchar_t Path[MAX_PATH];
  const DWORD Length = ::GetModuleFileNameW(nullptr, Path, MAX_PATH);
  const std::wstring Program(Path, Length);
  return Program.substr(0, Program.find_last_of(L'\\') + 1) + L"gaugery.exe";
}

namespace {

// A temporary file the program inherits as its standard error; gone once closed.
HANDLE InheritableTempFile() {
  wchar_t Directory[MAX_PATH];
  wchar_t Name[MAX_PATH];
  ::GetTempPathW(MAX_PATH, Directory);
  ::GetTempFileNameW(Directory, L"gau", 0, Name);
  SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
  return ::CreateFileW(
      Name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      &Inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Reads a pipe until its writer closes it, or a file from its position to its end.
std::string ReadAll(HANDLE Handle) {
  std::string Text;
  char Buffer[4096];
  DWORD Read = 0;
  while (::ReadFile(Handle, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0) {
    Text.append(Buffer, Read);
  }
  return Text;
}

}  // namespace

ProgramRun RunGaugery(const std::string& Arguments, const std::string& Environment) {
  if (!Environment.empty()) throw std::invalid_argument("no environment on Windows");
  SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
  HANDLE OutRead = nullptr;
  HANDLE OutWrite = nullptr;
  if (!::CreatePipe(&OutRead, &OutWrite, &Inherit, 0)) throw std::runtime_error("CreatePipe");
  ::SetHandleInformation(OutRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE ErrFile = InheritableTempFile();

  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  Startup.hStdOutput = OutWrite;
  Startup.hStdError = ErrFile;
  std::wstring CommandLine = L"\"" + ProgramBesideThisOne() + L"\" " + gaugery::ToWide(Arguments);
  PROCESS_INFORMATION Process{};
  const BOOL Started = ::CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &Startup, &Process);
  ::CloseHandle(OutWrite);
  if (!Started) {
    ::CloseHandle(OutRead);
    ::CloseHandle(ErrFile);
    throw std::runtime_error("cannot start gaugery.exe");
  }
  ProgramRun Run{-1, ReadAll(OutRead), {}};
  ::CloseHandle(OutRead);
  ::WaitForSingleObject(Process.hProcess, INFINITE);
  DWORD ExitCode = 0;
  ::GetExitCodeProcess(Process.hProcess, &ExitCode);
  Run.ExitCode = static_cast<int>(ExitCode);
  ::CloseHandle(Process.hProcess);
  ::CloseHandle(Process.hThread);
  ::SetFilePointer(ErrFile, 0, nullptr, FILE_BEGIN);
  Run.Err = ReadAll(ErrFile);
  ::CloseHandle(ErrFile);
  return Run;
}
