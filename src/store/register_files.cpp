// DDF/DAF and RDF/RAF: a bank of registers saved to a register file and
// read back. One routine serves both banks; the command code picks it.
#include "command/commands.h"
#include "command/session.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr RecordLayout kRegisterRecord{1, 0, kRegisterCount - 1, "register number"};

struct RegisterBank {
  std::array<double, kRegisterCount>& values;
  const char* extension;
};

// DDF and RDF work on the distance registers, DAF and RAF on the angles.
RegisterBank BankOfCommand(Session& s) {
  if (s.CurrentCommand == "DDF" || s.CurrentCommand == "RDF") return {s.registers.distance, "dis"};
  return {s.registers.angle, "ang"};
}

}  // namespace

// Registers 1..99 holding a value above zero; register 0, undefined,
// zero and negative registers are not saved.
Outcome SaveRegisterFileCommand(Session& s) {
  RegisterBank bank = BankOfCommand(s);
  return SaveRecordFile(s, bank.extension, [&bank](std::string& text) {
    for (int r = 1; r < kRegisterCount; ++r)
      if (bank.values[r] > 0) AppendRecord(text, r, {bank.values[r]});
  });
}

// Registers named in the file take its values; the others keep theirs.
Outcome ReadRegisterFileCommand(Session& s) {
  RegisterBank bank = BankOfCommand(s);
  return ReadRecordFile(s, bank.extension, kRegisterRecord,
                        [&bank](int r, const double* value) { bank.values[r] = *value; });
}

}  // namespace vantrel
