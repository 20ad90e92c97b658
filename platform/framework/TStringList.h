// Ordered lists of strings, each with an attached object the list does not own.
#pragma once

#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TPersistent.h"

namespace gaugery {

class GAUGERY_PLATFORM_API TStringList : public TPersistent {
 public:
  int Count() const { return static_cast<int>(Lines_.size()); }

  // Append a line; the result is its position.
  int Add(const std::string& S);
  int AddObject(const std::string& S, TObject* AObject);
  void Insert(int Index, const std::string& S);
  void Delete(int Index);
  void Clear();

  // Every accessor by position raises EListError outside 0 to Count - 1.
  const std::string& Strings(int Index) const;
  void SetStrings(int Index, const std::string& S);
  TObject* Objects(int Index) const;
  void SetObjects(int Index, TObject* AObject);

  // First line equal to S ignoring case (AnsiCompareText), or -1.
  int IndexOf(const std::string& S) const;
  // First line holding exactly that object, or -1.
  int IndexOfObject(const TObject* AObject) const;

  // A line's name is its text before the first "=" (the whole line without one);
  // the value of a name is the text after the first "=" of the first line with that
  // name (ignoring case), or the empty string.
  std::string Names(int Index) const;
  std::string ValueFromIndex(int Index) const;
  int IndexOfName(const std::string& Name) const;
  std::string Values(const std::string& Name) const;

  // The lines joined by line feeds, each ended by one.
  std::string Text() const;

  // From another TStringList: strings and objects.
  void Assign(TPersistent* Source) override;

 private:
  struct Line {
    std::string Text;
    TObject* Object;
  };
  void CheckIndex(int Index) const;

  std::vector<Line> Lines_;
};

}  // namespace gaugery
