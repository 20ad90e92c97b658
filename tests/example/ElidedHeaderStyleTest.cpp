// Captions wider than their column are cut at the right with an ellipsis.
#include "ElidedHeaderStyle.h"

#include <gtest/gtest.h>

#include <QCommonStyle>
#include <QImage>
#include <QPainter>
#include <QStyleOptionHeader>

namespace gaugery {
namespace {

// The base style: keeps the text it is asked to draw as a header label.
class TLabelRecorder : public QCommonStyle {
 public:
  explicit TLabelRecorder(QString& Drawn) : Drawn_(Drawn) {}
  void drawControl(ControlElement Element, const QStyleOption* Option, QPainter*,
                   const QWidget*) const override {
    if (Element == CE_HeaderLabel)
      Drawn_ = qstyleoption_cast<const QStyleOptionHeader*>(Option)->text;
  }

 private:
  QString& Drawn_;
};

QString DrawnLabel(const QString& Caption, int Width) {
  QString Drawn;
  TElidedHeaderStyle Style(new TLabelRecorder(Drawn));
  QStyleOptionHeader Label;
  Label.text = Caption;
  Label.textAlignment = Qt::AlignRight | Qt::AlignVCenter;
  Label.rect = QRect(0, 0, Width, 20);
  QImage Image(Width, 20, QImage::Format_ARGB32);
  QPainter Painter(&Image);
  Style.drawControl(QStyle::CE_HeaderLabel, &Label, &Painter);
  return Drawn;
}

TEST(ElidedHeaderStyle, CutsCaptionsWiderThanTheirColumnAtTheRight) {
  const QString Caption = QStringLiteral("Page File Bytes Peak");
  const QString Narrow = DrawnLabel(Caption, 60);
  ASSERT_TRUE(Narrow.endsWith(QChar(0x2026))) << Narrow.toStdString();
  EXPECT_TRUE(Caption.startsWith(Narrow.chopped(1))) << Narrow.toStdString();
  EXPECT_EQ(DrawnLabel(Caption, 1000), Caption);
}

}  // namespace
}  // namespace gaugery
