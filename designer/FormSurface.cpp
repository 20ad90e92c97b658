#include "FormSurface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>

#include "ComponentPalette.h"
#include "DesignerMessages.h"
#include "framework/TypeInfo.h"

namespace gaugery {

namespace {

constexpr int Grid = 8;
constexpr int FrameSize = 28;
constexpr int CellWidth = 88;
constexpr int CellHeight = 64;
constexpr int Margin = 16;

QPoint Snapped(QPoint Point) {
  return {std::max(0, Point.x() / Grid * Grid), std::max(0, Point.y() / Grid * Grid)};
}

bool IsPaletteClass(const std::string& ClassName) {
  for (const std::string& Page : PalettePages()) {
    const std::vector<std::string> Classes = PaletteClasses(Page);
    if (std::find(Classes.begin(), Classes.end(), ClassName) != Classes.end()) return true;
  }
  return false;
}

QString NameOf(const TComponent* Component) { return QString::fromStdString(Component->Name()); }

}  // namespace

TFormSurface::TFormSurface(QWidget* Parent)
    : QWidget(Parent), Band_(new QRubberBand(QRubberBand::Rectangle, this)) {
  setFocusPolicy(Qt::ClickFocus);
  setAutoFillBackground(false);
}

void TFormSurface::SetForm(TDesignForm* Form) {
  Form_ = Form;
  connect(Form_, &TDesignForm::FormReplaced, this, [this] { Places_.clear(); });
  connect(Form_, &TDesignForm::ComponentRemoving, this,
          [this](TComponent* Component) { Places_.erase(Component); });
  connect(Form_, &TDesignForm::Changed, this, [this] {
    PlaceUnplaced();
    updateGeometry();
    update();
  });
  connect(Form_, &TDesignForm::SelectionChanged, this, qOverload<>(&QWidget::update));
  PlaceUnplaced();
}

void TFormSurface::SetPendingClass(const std::string& ClassName) {
  PendingClass_ = ClassName;
  setCursor(ClassName.empty() ? Qt::ArrowCursor : Qt::CrossCursor);
}

TComponent* TFormSurface::DropComponent(const std::string& ClassName, std::optional<QPoint> Place) {
  const QPoint Target = Place ? Snapped(*Place) : FreePlace();
  TComponent* Added = nullptr;
  if (!Attempt(this, [&] { Added = Form_->AddComponent(ClassName); })) return nullptr;
  Places_[Added] = Target;
  Form_->Select({Added});
  updateGeometry();
  update();
  return Added;
}

QRect TFormSurface::IconRect(TComponent* Component) const {
  const auto Found = Places_.find(Component);
  return Found == Places_.end() ? QRect() : QRect(Found->second, QSize(FrameSize, FrameSize));
}

QSize TFormSurface::sizeHint() const {
  QRect Used(0, 0, 6 * CellWidth, 5 * CellHeight);
  for (const auto& [Component, Place] : Places_) Used |= HitRect(Component);
  return Used.adjusted(0, 0, Margin, Margin).size();
}

std::vector<TComponent*> TFormSurface::Shown() const {
  std::vector<TComponent*> All = Form_->Components();
  if (!IsPaletteClass(All.front()->ClassName())) All.erase(All.begin());
  return All;
}

TComponent* TFormSurface::ComponentAt(QPoint Point) const {
  const std::vector<TComponent*> All = Shown();
  // The last drawn lies on top.
  const auto Found = std::find_if(All.rbegin(), All.rend(), [&](TComponent* Component) {
    return HitRect(Component).contains(Point);
  });
  return Found == All.rend() ? nullptr : *Found;
}

QRect TFormSurface::LabelRect(TComponent* Component) const {
  const QRect Icon = IconRect(Component);
  const int Width = fontMetrics().horizontalAdvance(NameOf(Component)) + 6;
  QRect Label(0, Icon.bottom() + 3, Width, fontMetrics().height() + 2);
  Label.moveLeft(Icon.center().x() - Width / 2);
  return Label;
}

QRect TFormSurface::HitRect(TComponent* Component) const {
  return IconRect(Component) | LabelRect(Component);
}

QPoint TFormSurface::FreePlace() const {
  const int Columns = std::max(1, (std::max(width(), sizeHint().width()) - Margin) / CellWidth);
  for (int Cell = 0;; ++Cell) {
    const QPoint Place(Margin + Cell % Columns * CellWidth + (CellWidth - FrameSize) / 2,
                       Margin + Cell / Columns * CellHeight);
    const QRect Wanted(Place, QSize(FrameSize, FrameSize));
    const bool Taken = std::any_of(Places_.begin(), Places_.end(), [&](const auto& Entry) {
      return HitRect(Entry.first).intersects(Wanted);
    });
    if (!Taken) return Place;
  }
}

void TFormSurface::PlaceUnplaced() {
  for (TComponent* Component : Shown()) {
    if (Places_.count(Component) == 0) Places_[Component] = FreePlace();
  }
}

bool TFormSurface::IsSelected(TComponent* Component) const {
  const TDesignSelection& Selection = Form_->Selection();
  return std::find(Selection.begin(), Selection.end(), Component) != Selection.end();
}

void TFormSurface::paintEvent(QPaintEvent* /*Event*/) {
  QPainter Painter(this);
  Painter.fillRect(rect(), palette().window());
  Painter.setPen(palette().color(QPalette::Dark));
  for (int X = 0; X < width(); X += Grid) {
    for (int Y = 0; Y < height(); Y += Grid) Painter.drawPoint(X, Y);
  }
  for (TComponent* Component : Shown()) PaintComponent(Painter, Component);
}

void TFormSurface::PaintComponent(QPainter& Painter, TComponent* Component) {
  const QRect Icon = IconRect(Component);
  const bool Selected = IsSelected(Component);
  Painter.fillRect(Icon, palette().button());
  Painter.setPen(Selected ? palette().color(QPalette::Highlight)
                          : palette().color(QPalette::Shadow));
  Painter.drawRect(Icon.adjusted(0, 0, -1, -1));
  if (Selected) Painter.drawRect(Icon.adjusted(-2, -2, 1, 1));
  Painter.drawPixmap(Icon.topLeft() + QPoint(2, 2), PaletteImage(Component->ClassName()));

  const QRect Label = LabelRect(Component);
  if (Selected) Painter.fillRect(Label, palette().highlight());
  Painter.setPen(palette().color(Selected ? QPalette::HighlightedText : QPalette::WindowText));
  Painter.drawText(Label, Qt::AlignCenter, NameOf(Component));
}

void TFormSurface::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  const QPoint Point = Event->position().toPoint();
  if (TComponent* Component = ComponentAt(Point)) {
    PressOnComponent(Component, Event->modifiers(), Point);
  } else {
    PressOnForm(Event->modifiers(), Point);
  }
}

void TFormSurface::PressOnComponent(TComponent* Component, Qt::KeyboardModifiers Modifiers,
                                    QPoint Point) {
  TDesignSelection Selection = Form_->Selection();
  if ((Modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) != 0) {
    const auto Found = std::find(Selection.begin(), Selection.end(), Component);
    if (Found != Selection.end()) {
      Selection.erase(Found);
    } else {
      Selection.push_back(Component);
    }
    Form_->Select(Selection);
    return;
  }
  if (!IsSelected(Component)) Form_->Select({Component});
  Gesture_ = TGesture::Move;
  PressPoint_ = Point;
  DragStart_.clear();
  for (TComponent* Other : Shown()) {
    if (IsSelected(Other)) DragStart_[Other] = Places_[Other];
  }
}

void TFormSurface::PressOnForm(Qt::KeyboardModifiers Modifiers, QPoint Point) {
  if (!PendingClass_.empty()) {
    const std::string ClassName = PendingClass_;
    SetPendingClass({});
    emit PendingClassDropped();
    DropComponent(ClassName, Point);
    return;
  }
  const bool Adding = (Modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) != 0;
  BandBase_ = Adding ? Form_->Selection() : TDesignSelection();
  if (!Adding) Form_->Select({Form_->Root()});
  Gesture_ = TGesture::Band;
  PressPoint_ = Point;
  Band_->setGeometry(QRect(Point, QSize()));
  Band_->show();
}

void TFormSurface::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint Point = Event->position().toPoint();
  if (Gesture_ == TGesture::Move) {
    MoveSelected(Point - PressPoint_);
  } else if (Gesture_ == TGesture::Band) {
    const QRect Band = QRect(PressPoint_, Point).normalized();
    Band_->setGeometry(Band);
    SelectInBand(Band);
  }
}

void TFormSurface::MoveSelected(QPoint Delta) {
  for (const auto& [Component, Start] : DragStart_) Places_[Component] = Snapped(Start + Delta);
  updateGeometry();
  update();
}

void TFormSurface::SelectInBand(QRect Band) {
  TDesignSelection Selection = BandBase_;
  for (TComponent* Component : Shown()) {
    const bool Listed = std::find(Selection.begin(), Selection.end(), Component) != Selection.end();
    if (!Listed && HitRect(Component).intersects(Band)) Selection.push_back(Component);
  }
  Form_->Select(Selection.empty() ? TDesignSelection{Form_->Root()} : Selection);
}

void TFormSurface::mouseReleaseEvent(QMouseEvent* /*Event*/) {
  Gesture_ = TGesture::None;
  Band_->hide();
  DragStart_.clear();
}

void TFormSurface::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (TComponent* Component = ComponentAt(Event->position().toPoint())) {
    emit ComponentActivated(Component);
  }
}

}  // namespace gaugery
