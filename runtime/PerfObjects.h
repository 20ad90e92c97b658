// The object list: the performance objects of one computer's shared snapshot, with
// their titles and help texts, found by position in the block or by title.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "PerfData.h"
#include "PerfTitles.h"
#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TComponent.h"
#include "framework/TStringList.h"

namespace gaugery {

// Raises Exception "Index out of bounds" unless 0 <= Index < Count.
GAUGERY_RUNTIME_API void CheckPosition(std::int32_t Index, std::int32_t Count);

// Raises Exception "No help information : object "<Name>"" for a component that has
// no help table linked; the message names the component, not a performance object.
[[noreturn]] GAUGERY_RUNTIME_API void RaiseNoHelpInformation(const TComponent& Component);

// Lists the objects of the shared snapshot of ComputerName. Positions are places in
// the current block, counted from 0 in block order; nothing is cached between calls,
// so every answer reflects the newest sample, whichever component refreshed it.
class GAUGERY_RUNTIME_API TPerfObjects : public TComponent {
 public:
  // Acquires no snapshot and loads no title yet.
  explicit TPerfObjects(TComponent* AOwner);
  ~TPerfObjects() override;

  // Replaces the lines of ATitles with one title per object, in block order.
  void GetObjectTitles(TStringList* ATitles);
  // Replaces the lines of AHelps with one help text per object; raises the missing
  // help error (leaving AHelps alone) when no help table is linked.
  void GetObjectHelps(TStringList* AHelps);
  // Reads a new sample into the shared snapshot, for every component holding it.
  void Refresh();

  // The current block's header fields; they do not refresh.
  SYSTEMTIME SystemTime();
  std::int64_t PerfTime();
  std::int64_t PerfFreq();
  std::int64_t PerfTime100nSec();
  std::string SystemName();

  // The block position of the first object whose title index is that of AObjectTitle
  // (letter case ignored); Exception "Unknown performance object : "<title>"" when
  // the current sample has none. Never negative.
  std::int32_t GetIndexOfObject(const std::string& AObjectTitle);
  std::string GetHelpOfObject(const std::string& AObjectTitle);
  // The object's title, empty when the title table has none for its index.
  std::string GetObjectTitle(std::int32_t Index);
  // The missing help error is raised before the position is checked.
  std::string GetObjectHelp(std::int32_t Index);
  // "Index out of bounds" outside 0 to ObjectCount - 1.
  PPERF_OBJECT_TYPE GetObjectData(std::int32_t Index);
  std::int32_t GetObjectCount();
  PPERF_DATA_BLOCK GetPerfData();

  // The title table's locale; the linked help table keeps its own.
  const std::string& GetLocaleID() const { return Titles_->GetLocaleID(); }
  const std::string& LocaleID() const { return GetLocaleID(); }
  void SetLocaleID(const std::string& Value) { Titles_->SetLocaleID(Value); }

  // Not owned; forgotten when the table is destroyed.
  TPerfHelps* Helps() const { return Helps_; }
  void SetHelps(TPerfHelps* Value) { LinkComponent(*this, Helps_, Value); }

  // Read when the snapshot is first acquired, and by the title table when it first
  // loads its names (the names of the computer whose objects are listed); a later
  // change affects neither.
  const std::string& ComputerName() const { return ComputerName_; }
  void SetComputerName(const std::string& Value) {
    ComputerName_ = Value;
    Titles_->SetComputerName(Value);
  }

  std::int32_t IndexOfObject(const std::string& AObjectTitle) {
    return GetIndexOfObject(AObjectTitle);
  }
  std::string HelpOfObject(const std::string& AObjectTitle) {
    return GetHelpOfObject(AObjectTitle);
  }
  std::string ObjectTitle(std::int32_t Index) { return GetObjectTitle(Index); }
  std::string ObjectHelp(std::int32_t Index) { return GetObjectHelp(Index); }
  PPERF_OBJECT_TYPE ObjectData(std::int32_t Index) { return GetObjectData(Index); }
  std::int32_t ObjectCount() { return GetObjectCount(); }
  PPERF_DATA_BLOCK PerfData() { return GetPerfData(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Acquires the shared snapshot at the first need; DonePerfData gives it back.
  void InitPerfData();
  void DonePerfData();
  std::string TitleOf(PPERF_OBJECT_TYPE Object) const;
  // Position of the first object of the current block with this title index, or -1.
  std::int32_t PositionOfObject(DWORD TitleIndex);
  std::string HelpOf(PPERF_OBJECT_TYPE Object) const;

  std::unique_ptr<TPerfTitles> Titles_;
  TPerfHelps* Helps_ = nullptr;
  TPerfData* PerfData_ = nullptr;
  std::string ComputerName_;
};

}  // namespace gaugery

// The unit's registration routine for the designer.
namespace gaugery::PerfObjectsUnit {

// Puts TPerfObjects on the palette page "Gaugery".
GAUGERY_RUNTIME_API void DoRegister();

}  // namespace gaugery::PerfObjectsUnit
