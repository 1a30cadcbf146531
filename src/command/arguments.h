// The argument store: the data fields of the current command, 1-based as
// they are counted on the line. Fields a line leaves unconsumed wait, ahead
// of the next line's fields; a code line empties the store. It also holds
// the stage of a command read over several lines.
//
// A handler reads and consumes through it (a Session holds one as `args`):
//   args.FieldsLeft()       fields not yet consumed
//   args.GroupField(k)      field k of the current group (1: the first
//                           field not yet consumed); writable, for a field
//                           read in place
//   args.Field(k)           field k of the store, consumed or not (when the
//                           handler starts, the fields of the lines so far)
//   args.Count()            fields held, consumed ones included
//   args.Consume(n)         the current group of n fields is done
//   args.ConsumeAll()       every field is done: nothing waits for the next line
//   args.Stage(), args.SetStage(n)   1 on the first data line after the code
//                           line; a command read over several lines counts
//                           its parts with it
// Commands of repeated groups use RepeatGroups (command/point_groups.h): the
// group says how it ended, and how long it was when its content decides that.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr int kMaxFields = 50;

class ArgumentStore {
 public:
  int Count() const { return count_; }
  int FieldsLeft() const { return count_ - used_; }
  const std::string& Field(int k) const { return fields_[static_cast<size_t>(k)]; }
  const std::string& GroupField(int k) const { return fields_[static_cast<size_t>(used_ + k)]; }
  std::string& GroupField(int k) { return fields_[static_cast<size_t>(used_ + k)]; }

  void Consume(int n) { used_ += n; }
  void ConsumeAll() { used_ = count_; }

  int Stage() const { return stage_; }
  void SetStage(int stage) { stage_ = stage; }

  // The processor's side. A code line: no fields, stage 1.
  void Restart() {
    count_ = used_ = 0;
    stage_ = 1;
  }
  // A data line's fields after the waiting ones, which move to the front
  // (the caller has checked that together they fit in kMaxFields).
  void Carry(std::span<const std::string_view> lineFields);

 private:
  std::array<std::string, kMaxFields + 1> fields_;  // [0] unused
  int count_ = 0;
  int used_ = 0;
  int stage_ = 1;
};

}  // namespace vantrel
