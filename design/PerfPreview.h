// The designer's live previews of the filter and the monitor: one sample of a filter
// (two, a second apart, of a monitor) and its items' values for each instance.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "PerfFilter.h"
#include "PerfMonitor.h"
#include "framework/ComponentPreview.h"

namespace gaugery {

// What one item read: its value per instance (the instance name, empty for an object
// without instances, and the value's text), or the error that kept it from reading.
struct TPreviewReading {
  std::string ObjectName;
  std::string CounterName;
  std::vector<std::pair<std::string, std::string>> Values;
  std::string Error;
};

// Lays readings out as one table: the columns "Object" and "Instance", then one per item
// captioned with its counter name. Items on one object (ignoring case) share that
// object's rows, one per instance, in order of appearance; an instance name that occurs
// several times makes as many rows, matched between the items by occurrence. An item's
// cells outside its object's rows stay empty; an item that could not read shows its
// error in every row of its object, which has one row at least.
TPreviewTable PreviewTableOf(const std::vector<TPreviewReading>& Readings);

// One Collect of the filter; the raw values of its items.
class TPerfFilterPreview : public TComponentPreview {
 public:
  explicit TPerfFilterPreview(TPerfFilter* Filter) : Filter_(Filter) {}

  int SampleCount() const override { return 1; }
  void Sample() override { Filter_->Collect(); }
  TPreviewTable Table() override;

 private:
  TPerfFilter* Filter_;
};

// Collects of the monitor; the current values of its items with their suffixes.
class TPerfMonitorPreview : public TComponentPreview {
 public:
  explicit TPerfMonitorPreview(TPerfMonitor* Monitor) : Monitor_(Monitor) {}

  int SampleCount() const override { return 2; }
  void Sample() override { Monitor_->Collect(); }
  TPreviewTable Table() override;

 private:
  TPerfMonitor* Monitor_;
};

}  // namespace gaugery

namespace gaugery::PerfPreviewUnit {

// Binds the two previews to TPerfFilter and TPerfMonitor.
void DoRegister();

}  // namespace gaugery::PerfPreviewUnit
