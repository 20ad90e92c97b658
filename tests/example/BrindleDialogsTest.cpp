// The about box, the wait form and the start-up that ties them to the main form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <functional>

#include "BrindleProduct.h"
#include "BrindleStartup.h"
#include "ProcessSamples.h"
#include "UrlCatcher.h"
#include "fmAbout.h"
#include "fmWait.h"

namespace gaugery::testing {
namespace {

template <class TWindow>
int LiveWindows() {
  int Count = 0;
  for (QWidget* Window : QApplication::topLevelWidgets())
    Count += qobject_cast<TWindow*>(Window) != nullptr;
  return Count;
}

// What the event loop does between two user actions: disposes of closed windows.
void ReturnToEventLoop() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

std::string LabelText(QWidget& Window, const char* Name) {
  return Window.findChild<QLabel*>(Name)->text().toStdString();
}

// Runs Inspect on the about box as soon as it is shown, then presses its OK button.
void WhenAboutBoxShows(std::function<void(TAboutBox&)> Inspect) {
  QTimer::singleShot(0, [Inspect = std::move(Inspect)] {
    for (QWidget* Window : QApplication::topLevelWidgets()) {
      auto* Box = qobject_cast<TAboutBox*>(Window);
      if (Box == nullptr || !Box->isVisible()) continue;
      EXPECT_EQ(QApplication::activeModalWidget(), Box);
      Inspect(*Box);
      QTest::mouseClick(Box->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
      return;
    }
    ADD_FAILURE() << "no about box is shown";
  });
}

TEST(AboutBox, ShowsTheProductAndIsGoneAfterClosing) {
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(NumberedProcesses(2))});
  TBrindleForm Form;
  QPointer<TAboutBox> First;
  WhenAboutBoxShows([&](TAboutBox& Box) {
    First = &Box;
    EXPECT_EQ(Box.windowTitle().toStdString(), "About Brindle");
    EXPECT_EQ(LabelText(Box, "LbProductTitle"), "Brindle");
    EXPECT_EQ(LabelText(Box, "LbVersion"), "Version 4.1");
    EXPECT_EQ(LabelText(Box, "LbProductName"), "Gaugery sample application");
  });
  Form.About1Click();
  ReturnToEventLoop();
  EXPECT_TRUE(First.isNull());

  // A second use makes a new box, while the first is gone.
  int BoxesWhileSecondShows = 0;
  WhenAboutBoxShows([&](TAboutBox&) { BoxesWhileSecondShows = LiveWindows<TAboutBox>(); });
  Form.About1Click();
  ReturnToEventLoop();
  EXPECT_EQ(BoxesWhileSecondShows, 1);
  EXPECT_EQ(LiveWindows<TAboutBox>(), 0);
}

TEST(AboutBox, NamesTheCapturesItShows) {
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(NumberedProcesses(2))});
  TBrindleForm Local;
  WhenAboutBoxShows([](TAboutBox& Box) {
    EXPECT_EQ(LabelText(Box, "LbNotice"), "Live counters of this computer");
  });
  Local.About1Click();
  ReturnToEventLoop();

  TBrindleForm Replayed(nullptr, {.ReplayFiles = {"/captures/monday.blk", "tuesday.blk"}});
  WhenAboutBoxShows([](TAboutBox& Box) {
    EXPECT_EQ(LabelText(Box, "LbNotice"), "Replay of monday.blk and 1 more file");
  });
  Replayed.About1Click();
  ReturnToEventLoop();
}

// In fonts wider than the design's, the labels grow; the links stay inside the panel,
// and so does a notice longer than the panel is wide, cut short.
TEST(AboutBox, KeepsItsLinksAndNoticeInsideThePanel) {
  TAboutBox Box(nullptr);
  Box.SetProductInfo("Brindle", "4.1");
  const std::string LongName = "Live counters of " + std::string(80, 'w') + ".example.org:9441";
  Box.SetNotice(LongName);
  const QRect Inside = Box.findChild<QWidget*>("Panel1")->contentsRect();
  for (const char* Label : {"LbMailTo", "LbHomepage", "LbNotice"})
    EXPECT_TRUE(Inside.contains(Box.findChild<QLabel*>(Label)->geometry())) << Label;
  EXPECT_EQ(LabelText(Box, "LbNotice").rfind("Live counters of www", 0), 0u);
  EXPECT_LT(LabelText(Box, "LbNotice").size(), LongName.size());
}

TEST(Notice, SaysWhatIsShown) {
  EXPECT_EQ(BrindleNotice({}, ""), "Live counters of this computer");
  EXPECT_EQ(BrindleNotice({}, "far:9441"), "Live counters of far:9441");
  EXPECT_EQ(BrindleNotice({"t0.blk"}, ""), "Replay of t0.blk");
  EXPECT_EQ(BrindleNotice({"/var/captures/t0.blk", "t1", "t2"}, ""),
            "Replay of t0.blk and 2 more files");
}

TEST(AboutBox, LinksOpenTheSupportMailAndTheHomePage) {
  UrlCatcher Caught;
  for (const char* Scheme : {"mailto", "http", "https"}) {
    QDesktopServices::setUrlHandler(Scheme, &Caught, "Open");
  }
  TAboutBox Box;
  Box.show();
  QTest::mouseClick(Box.findChild<QLabel*>("LbMailTo"), Qt::LeftButton);
  QTest::mouseClick(Box.findChild<QLabel*>("LbHomepage"), Qt::LeftButton);
  for (const char* Scheme : {"mailto", "http", "https"}) QDesktopServices::unsetUrlHandler(Scheme);

  ASSERT_EQ(Caught.Urls.size(), 2u);
  EXPECT_EQ(Caught.Urls[0].scheme(), "mailto");
  EXPECT_EQ(Caught.Urls[0].path(), GAUGERY_SUPPORT_ADDRESS);
  EXPECT_EQ(Caught.Urls[0].query(QUrl::FullyDecoded), "subject=Gaugery Components");
  EXPECT_EQ(Caught.Urls[1], QUrl(GAUGERY_HOMEPAGE));
}

TEST(WaitForm, ShowsTheProductWithoutTouchingTheCaption) {
  auto* Wait = new TPerfWaitForm;
  Wait->setWindowTitle("untouched");
  Wait->SetProductInfo("Brindle", "4.1");
  EXPECT_EQ(LabelText(*Wait, "LbProductTitle"), "Brindle");
  EXPECT_EQ(LabelText(*Wait, "LbVersion"), "Version 4.1");
  EXPECT_EQ(Wait->windowTitle().toStdString(), "untouched");
  EXPECT_EQ(Wait->size(), QSize(321, 147));
  // A notice longer than the panel is wide is cut short inside it.
  Wait->SetNotice("Replay of " + std::string(80, 'w') + ".blk");
  const QRect Inside = Wait->findChild<QWidget*>("Panel1")->contentsRect();
  EXPECT_TRUE(Inside.contains(Wait->findChild<QLabel*>("Label2")->geometry()));
  EXPECT_EQ(LabelText(*Wait, "Label2").rfind("Replay of www", 0), 0u);
  delete Wait;
}

// Records the notice of the wait form when it is shown.
class TWaitFormWatcher : public QObject {
 public:
  TWaitFormWatcher() { QApplication::instance()->installEventFilter(this); }
  ~TWaitFormWatcher() override { QApplication::instance()->removeEventFilter(this); }

  std::string Notice;

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    auto* Wait = qobject_cast<TPerfWaitForm*>(Watched);
    if (Wait != nullptr && Event->type() == QEvent::Show) Notice = LabelText(*Wait, "Label2");
    return false;
  }
};

TEST(Startup, TheWaitFormNamesWhatIsShown) {
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(NumberedProcesses(1))});
  {
    const TWaitFormWatcher Watcher;
    StartBrindle();
    EXPECT_EQ(Watcher.Notice, "Live counters of this computer");
  }
  const TWaitFormWatcher Watcher;
  StartBrindle({.ReplayFiles = {"/captures/t0.blk"}});
  EXPECT_EQ(Watcher.Notice, "Replay of t0.blk");
  ReturnToEventLoop();
}

TEST(Startup, LeavesOnlyTheFilledMainForm) {
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(NumberedProcesses(4))});
  const std::unique_ptr<TBrindleForm> Form = StartBrindle();
  ReturnToEventLoop();
  EXPECT_EQ(LiveWindows<TPerfWaitForm>(), 0);
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Form->LV()->topLevelItemCount(), 4);
}

}  // namespace
}  // namespace gaugery::testing
