#include "BrindleWindow.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "framework/Unicode.h"

namespace gaugery::testing {

namespace {

constexpr DWORD EndTimeoutMs = 10'000;
constexpr std::size_t TextCapacity = 512;

std::wstring ProgramBesideThisOne() {
  wchar_t Path[MAX_PATH];
  const DWORD Length = GetModuleFileNameW(nullptr, Path, MAX_PATH);
  const std::wstring Program(Path, Length);
  return Program.substr(0, Program.find_last_of(L'\\') + 1) + L"brindle.exe";
}

std::wstring TempDirectory() {
  wchar_t Directory[MAX_PATH];
  const DWORD Length = GetTempPathW(MAX_PATH, Directory);
  return std::wstring(Directory, Length);
}

// Memory in another process for the messages of the common controls, which pass
// pointers that the receiver uses in its own address space.
class TRemoteBuffer {
 public:
  TRemoteBuffer(HANDLE Process, std::size_t Size)
      : Process_(Process),
        Address_(VirtualAllocEx(Process, nullptr, Size, MEM_COMMIT, PAGE_READWRITE)) {
    if (Address_ == nullptr) throw std::runtime_error("VirtualAllocEx failed");
  }
  ~TRemoteBuffer() { VirtualFreeEx(Process_, Address_, 0, MEM_RELEASE); }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  void* Address() const { return Address_; }
  void* At(std::size_t Offset) const { return static_cast<char*>(Address_) + Offset; }
  void Write(std::size_t Offset, const void* Data, std::size_t Size) const {
    WriteProcessMemory(Process_, At(Offset), Data, Size, nullptr);
  }
  void Read(std::size_t Offset, void* Data, std::size_t Size) const {
    ReadProcessMemory(Process_, At(Offset), Data, Size, nullptr);
  }
  std::string ReadText(std::size_t Offset) const {
    wchar_t Text[TextCapacity]{};
    Read(Offset, Text, sizeof Text - sizeof(wchar_t));
    return ToUtf8(Text);
  }

 private:
  HANDLE Process_;
  void* Address_;
};

// The record goes first in the buffer, its text after it.
constexpr std::size_t TextOffset = 256;

std::string CellText(HWND List, const TRemoteBuffer& Buffer, int Row, int Column) {
  LVITEMW Item{};
  Item.iSubItem = Column;
  Item.pszText = static_cast<LPWSTR>(Buffer.At(TextOffset));
  Item.cchTextMax = TextCapacity;
  Buffer.Write(0, &Item, sizeof Item);
  SendMessageW(List, LVM_GETITEMTEXTW, Row, reinterpret_cast<LPARAM>(Buffer.Address()));
  return Buffer.ReadText(TextOffset);
}

TListViewColumn ColumnOf(HWND List, const TRemoteBuffer& Buffer, int Column) {
  LVCOLUMNW Description{};
  Description.mask = LVCF_FMT | LVCF_TEXT;
  Description.pszText = static_cast<LPWSTR>(Buffer.At(TextOffset));
  Description.cchTextMax = TextCapacity;
  Buffer.Write(0, &Description, sizeof Description);
  SendMessageW(List, LVM_GETCOLUMNW, Column, reinterpret_cast<LPARAM>(Buffer.Address()));
  Buffer.Read(0, &Description, sizeof Description);
  return {Buffer.ReadText(TextOffset), (Description.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT,
          static_cast<int>(SendMessageW(List, LVM_GETCOLUMNWIDTH, Column, 0))};
}

struct TWindowSearch {
  DWORD ProcessId;
  const std::wstring& Class;
  const std::wstring& Caption;
  bool HiddenToo;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND Window, LPARAM Data) {
  auto& Search = *reinterpret_cast<TWindowSearch*>(Data);
  DWORD Owner = 0;
  GetWindowThreadProcessId(Window, &Owner);
  wchar_t ClassName[64]{};
  GetClassNameW(Window, ClassName, 64);
  if (Owner == Search.ProcessId && (Search.HiddenToo || IsWindowVisible(Window)) &&
      Search.Class == ClassName &&
      (Search.Caption.empty() || ToWide(WindowText(Window)) == Search.Caption)) {
    Search.Found.push_back(Window);
  }
  return TRUE;
}

}  // namespace

bool WaitFor(const std::function<bool()>& Condition, std::chrono::milliseconds Timeout) {
  const auto Deadline = std::chrono::steady_clock::now() + Timeout;
  while (!Condition()) {
    if (std::chrono::steady_clock::now() >= Deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

TCaptures::~TCaptures() {
  for (const std::wstring& File : Files_) DeleteFileW(File.c_str());
}

std::wstring TCaptures::Save(const test::TBlock& Block, const std::wstring& Name) {
  const std::wstring File = TempDirectory() + L"brindle-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-" + Name + L".blk";
  std::FILE* Stream = _wfopen(File.c_str(), L"wb");
  if (Stream == nullptr) throw std::runtime_error("cannot write a capture file");
  std::fwrite(Block.Bytes.data(), 1, Block.Bytes.size(), Stream);
  std::fclose(Stream);
  Files_.push_back(File);
  return File;
}

TBrindleProcess::TBrindleProcess(const std::vector<std::wstring>& Captures) {
  std::wstring CommandLine = L"\"" + ProgramBesideThisOne() + L"\"";
  for (const std::wstring& File : Captures) CommandLine += L" --replay \"" + File + L"\"";
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  if (!CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &Startup, &Process_)) {
    throw std::runtime_error("cannot start brindle.exe");
  }
}

TBrindleProcess::~TBrindleProcess() {
  for (HWND Form : Windows(L"TBrindleForm")) PostMessageW(Form, WM_CLOSE, 0, 0);
  // A message box or the about box still open keeps the program from ending.
  if (WaitForSingleObject(Process_.hProcess, EndTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(Process_.hProcess, 1);
    WaitForSingleObject(Process_.hProcess, EndTimeoutMs);
  }
  CloseHandle(Process_.hProcess);
  CloseHandle(Process_.hThread);
}

std::vector<HWND> TBrindleProcess::Windows(const std::wstring& Class,
                                           const std::wstring& Caption) const {
  TWindowSearch Search{Process_.dwProcessId, Class, Caption, false, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

HWND TBrindleProcess::WaitForMainForm() const {
  HWND Form = nullptr;
  WaitFor([&] {
    const std::vector<HWND> Found = Windows(L"TBrindleForm");
    Form = Found.empty() ? nullptr : Found.front();
    return Form != nullptr;
  });
  return Form;
}

HWND TBrindleProcess::MainForm() const {
  const std::wstring Class = L"TBrindleForm";
  TWindowSearch Search{Process_.dwProcessId, Class, L"", true, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&Search));
  return Search.Found.empty() ? nullptr : Search.Found.front();
}

TListViewContent TBrindleProcess::ReadList(HWND MainForm) const {
  HWND List = FindWindowExW(MainForm, nullptr, WC_LISTVIEWW, nullptr);
  if (List == nullptr) throw std::runtime_error("the main form has no ListView");
  const TRemoteBuffer Buffer(Process_.hProcess, TextOffset + TextCapacity * sizeof(wchar_t));
  TListViewContent Content;
  const int Columns = Header_GetItemCount(ListView_GetHeader(List));
  for (int Column = 0; Column < Columns; ++Column) {
    Content.Columns.push_back(ColumnOf(List, Buffer, Column));
  }
  const int Rows = ListView_GetItemCount(List);
  for (int Row = 0; Row < Rows; ++Row) {
    std::vector<std::string>& Cells = Content.Rows.emplace_back();
    for (int Column = 0; Column < Columns; ++Column) {
      Cells.push_back(CellText(List, Buffer, Row, Column));
    }
  }
  return Content;
}

bool TBrindleProcess::HasEnded() const {
  return WaitForSingleObject(Process_.hProcess, 0) == WAIT_OBJECT_0;
}

TBrindleEnd RunBrindle(const std::wstring& Arguments) {
  SECURITY_ATTRIBUTES Inherited{sizeof Inherited, nullptr, TRUE};
  HANDLE Read = nullptr;
  HANDLE Write = nullptr;
  if (!CreatePipe(&Read, &Write, &Inherited, 1 << 16))
    throw std::runtime_error("CreatePipe failed");
  SetHandleInformation(Read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdOutput = Write;
  Startup.hStdError = Write;
  std::wstring CommandLine = L"\"" + ProgramBesideThisOne() + L"\" " + Arguments;
  PROCESS_INFORMATION Process{};
  const BOOL Started = CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &Startup, &Process);
  CloseHandle(Write);
  if (!Started) {
    CloseHandle(Read);
    throw std::runtime_error("cannot start brindle.exe");
  }
  TBrindleEnd End;
  // A program that opens a window instead never ends by itself.
  if (WaitForSingleObject(Process.hProcess, EndTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(Process.hProcess, 1);
    WaitForSingleObject(Process.hProcess, EndTimeoutMs);
  } else {
    DWORD Code = 0;
    GetExitCodeProcess(Process.hProcess, &Code);
    End.ExitCode = static_cast<int>(Code);
  }
  char Chunk[4096];
  DWORD Got = 0;
  while (ReadFile(Read, Chunk, sizeof Chunk, &Got, nullptr) && Got > 0) End.Out.append(Chunk, Got);
  CloseHandle(Read);
  CloseHandle(Process.hProcess);
  CloseHandle(Process.hThread);
  return End;
}

std::string WindowText(HWND Window) {
  wchar_t Text[TextCapacity]{};
  GetWindowTextW(Window, Text, TextCapacity);
  return ToUtf8(Text);
}

}  // namespace gaugery::testing
