// The values of the simple published properties (texts, numbers, flags and component
// links) of the selected objects at one moment. The designer takes one before an edit:
// comparing tells whether the edit changed anything, and restoring puts back what a
// refused value disturbed (a setter that raises may have cleared its own and other
// properties on the way).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "framework/DesignIntf.h"

namespace gaugery {

class TPropertySnapshot {
 public:
  // Properties whose getter raises are left out.
  explicit TPropertySnapshot(const TDesignSelection& Objects);

  // Writes back, in declaration order, every value that differs from the current one;
  // errors of the setters are dropped.
  void Restore() const;

  bool operator==(const TPropertySnapshot& Other) const { return Values_ == Other.Values_; }

 private:
  using TValue = std::variant<std::string, std::int64_t, bool, TComponent*>;
  struct TEntry {
    TPersistent* Object;
    const TPropertyInfo* Property;
    TValue Value;
    bool operator==(const TEntry& Other) const = default;
  };

  static bool IsSimple(const TPropertyInfo& Property);
  static TValue Read(TPersistent* Object, const TPropertyInfo& Property);
  static void Write(const TEntry& Entry);

  std::vector<TEntry> Values_;
};

}  // namespace gaugery
