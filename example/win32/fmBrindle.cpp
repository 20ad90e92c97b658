// The run-time headers declare the registry calls and their constants, which
// <windows.h> defines as macros: they come first.
#include "BrindleTable.h"
#include "ListViewRows.h"
#include "fmBrindle.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "BrindleProduct.h"
#include "BrindleResources.h"
#include "fmAbout.h"
#include "framework/Exceptions.h"
#include "framework/Unicode.h"

namespace gaugery {

namespace {

constexpr int DesignedLeft = 218;
constexpr int DesignedTop = 109;
constexpr int DesignedWidth = 544;
constexpr int DesignedHeight = 390;
// The panel around the list.
constexpr int BorderWidth = 5;
constexpr UINT_PTR TimerId = 1;

void RegisterFormClass(HINSTANCE Instance, WNDPROC Procedure) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof Class;
  Class.lpfnWndProc = Procedure;
  Class.hInstance = Instance;
  Class.hIcon = LoadIconW(Instance, MAKEINTRESOURCEW(IDI_BRINDLE));
  Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  Class.lpszClassName = TBrindleForm::WindowClass;
  RegisterClassExW(&Class);  // fails harmlessly when a second form registers it again
}

}  // namespace

TBrindleForm::TBrindleForm(const TBrindleArguments& Shown) {
  HINSTANCE Instance = GetModuleHandleW(nullptr);
  RegisterFormClass(Instance, &TBrindleForm::WindowProc);
  Font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
  CreateWindowExW(0, WindowClass, ToWide(BrindleProductName).c_str(), WS_OVERLAPPEDWINDOW,
                  DesignedLeft, DesignedTop, DesignedWidth, DesignedHeight, nullptr,
                  LoadMenuW(Instance, MAKEINTRESOURCEW(IDR_MAINMENU)), Instance, this);
  if (Window_ == nullptr || LV_ == nullptr) {
    throw Exception("The main window could not be created (error " +
                    std::to_string(GetLastError()) + ")");
  }
  Columns_ = std::make_unique<TListViewColumns>(LV_);
  Rows_ = std::make_unique<TListViewRows>(LV_);
  Table_ = std::make_unique<TBrindleTable>(*Columns_, *Rows_, Shown);
  ScheduleTick();
  FormCreate();
}

TBrindleForm::~TBrindleForm() {
  if (Window_ != nullptr) DestroyWindow(Window_);
  if (Font_ != nullptr) DeleteObject(Font_);
}

void TBrindleForm::FormCreate() {
  Table_->FormCreate();
  SetWindowTextW(Window_, ToWide(Table_->Caption()).c_str());
  ScheduleTick();
}

void TBrindleForm::TimerTimer() {
  Table_->TimerTimer();
  ScheduleTick();
}

// Setting the timer again replaces it, so that it counts from this refresh.
void TBrindleForm::ScheduleTick() {
  const std::optional<std::chrono::milliseconds> Interval = Table_->TickInterval();
  if (Interval) {
    SetTimer(Window_, TimerId, static_cast<UINT>(Interval->count()), nullptr);
  } else {
    KillTimer(Window_, TimerId);
  }
}

void TBrindleForm::About1Click() {
  TAboutBox::Execute(Window_, BrindleProductName, BrindleVersion, Table_->Notice());
}

void TBrindleForm::CreateList() {
  LV_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                        0, 0, Window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (LV_ == nullptr) return;
  ListView_SetExtendedListViewStyle(LV_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  if (Font_ != nullptr) SendMessageW(LV_, WM_SETFONT, reinterpret_cast<WPARAM>(Font_), FALSE);
  LayOut();
}

// The list fills the client area inside the panel's border.
void TBrindleForm::LayOut() {
  RECT Client;
  GetClientRect(Window_, &Client);
  MoveWindow(LV_, BorderWidth, BorderWidth, std::max(0L, Client.right - 2 * BorderWidth),
             std::max(0L, Client.bottom - 2 * BorderWidth), TRUE);
}

LRESULT CALLBACK TBrindleForm::WindowProc(HWND Window, UINT Message, WPARAM WParam,
                                          LPARAM LParam) {
  if (Message == WM_NCCREATE) {
    auto* Form = static_cast<TBrindleForm*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    Form->Window_ = Window;
    SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Form));
  }
  auto* Form = reinterpret_cast<TBrindleForm*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (Form == nullptr) return DefWindowProcW(Window, Message, WParam, LParam);
  return Form->HandleMessage(Message, WParam, LParam);
}

LRESULT TBrindleForm::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_CREATE:
      CreateList();
      return 0;
    case WM_SIZE:
      if (LV_ != nullptr) LayOut();
      return 0;
    case WM_TIMER:
      if (WParam == TimerId) TimerTimer();
      return 0;
    case WM_COMMAND:
      if (LOWORD(WParam) == IDM_ABOUT) About1Click();
      return 0;
    case WM_DESTROY:
      KillTimer(Window_, TimerId);
      SetWindowLongPtrW(Window_, GWLP_USERDATA, 0);
      Window_ = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(Window_, Message, WParam, LParam);
}

}  // namespace gaugery
