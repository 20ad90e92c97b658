// The common ground of the counter and instance lists: one performance object of the
// local computer's shared snapshot, selected by its localized title.
#pragma once

#include <memory>
#include <string>

#include "PerfObjects.h"
#include "PerfTitles.h"
#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TComponent.h"

namespace gaugery {

// Reaches its object through an object list of its own, searching it by title in the
// current block at every call: no position is kept between calls.
class GAUGERY_RUNTIME_API TPerfObjectBrowser : public TComponent {
 public:
  explicit TPerfObjectBrowser(TComponent* AOwner);

  const std::string& ObjectName() const { return ObjectName_; }
  // While loading, and for the empty title, the title is stored unchecked. Otherwise
  // a title that the current sample does not hold raises the object list's unknown
  // object error and leaves ObjectName empty.
  virtual void SetObjectName(const std::string& Value);

  const std::string& GetLocaleID() const { return Titles_->GetLocaleID(); }
  const std::string& LocaleID() const { return GetLocaleID(); }
  // Changes the locale of the titles and, outside loading, carries ObjectName over to
  // the new locale's title of the same object (clearing it when there is none).
  void SetLocaleID(const std::string& Value);

  // Reads a new sample into the local computer's shared snapshot.
  void Refresh();

 protected:
  // The selected object in the current block; the unknown object error also for an
  // empty ObjectName.
  PPERF_OBJECT_TYPE ObjectData();
  // The title table the object list and this component translate with.
  TPerfTitles& Titles() { return *Titles_; }

 private:
  std::unique_ptr<TPerfObjects> Objects_;
  std::string ObjectName_;
  std::unique_ptr<TPerfTitles> Titles_;
};

}  // namespace gaugery
