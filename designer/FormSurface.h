// The form as the designer draws it: every non-visual component as its palette image in
// a small frame with its name under it, as form designers show such components. They can
// be selected (Ctrl or Shift adds and removes, a band drawn on the empty form selects what
// it touches), moved by dragging, and dropped from the palette. A click on the empty form
// selects the form itself. Places are the designer's own: stored forms do not keep them,
// so moving an icon does not change the form.
#pragma once

#include <QPoint>
#include <QWidget>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DesignForm.h"

class QRubberBand;

namespace gaugery {

class TFormSurface : public QWidget {
  Q_OBJECT

 public:
  explicit TFormSurface(QWidget* Parent = nullptr);

  void SetForm(TDesignForm* Form);

  // The class the next click on an empty spot of the form drops; empty: none.
  void SetPendingClass(const std::string& ClassName);
  // A new component of the class, its icon at Place (the first free place when none is
  // given), and selected. Null when the form refuses it; the message is shown.
  TComponent* DropComponent(const std::string& ClassName, std::optional<QPoint> Place = {});

  // The frame of a component's icon; empty for a component the form does not show.
  QRect IconRect(TComponent* Component) const;

  QSize sizeHint() const override;

 signals:
  // The pending class was dropped: the palette's button goes back up.
  void PendingClassDropped();
  // A double click on a component: its default editor opens.
  void ComponentActivated(TComponent* Component);

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

 private:
  enum class TGesture { None, Move, Band };

  // The root when it is itself a palette component, then the components it owns.
  std::vector<TComponent*> Shown() const;
  TComponent* ComponentAt(QPoint Point) const;
  QRect LabelRect(TComponent* Component) const;
  QRect HitRect(TComponent* Component) const;
  QPoint FreePlace() const;
  void PlaceUnplaced();
  bool IsSelected(TComponent* Component) const;
  void PressOnComponent(TComponent* Component, Qt::KeyboardModifiers Modifiers, QPoint Point);
  void PressOnForm(Qt::KeyboardModifiers Modifiers, QPoint Point);
  void MoveSelected(QPoint Delta);
  void SelectInBand(QRect Band);
  void PaintComponent(QPainter& Painter, TComponent* Component);

  TDesignForm* Form_ = nullptr;
  std::map<TComponent*, QPoint> Places_;
  std::string PendingClass_;

  TGesture Gesture_ = TGesture::None;
  QPoint PressPoint_;
  std::map<TComponent*, QPoint> DragStart_;
  QRubberBand* Band_ = nullptr;
  // What stays selected whatever the band touches (the selection before it, with Ctrl).
  TDesignSelection BandBase_;
};

}  // namespace gaugery
