#include "command/arguments.h"

namespace vantrel {

void ArgumentStore::Carry(std::span<const std::string_view> lineFields) {
  int n = 0;
  for (int k = used_ + 1; k <= count_; ++k)
    if (++n != k) fields_[static_cast<size_t>(n)].swap(fields_[static_cast<size_t>(k)]);
  for (std::string_view field : lineFields) fields_[static_cast<size_t>(++n)] = field;
  count_ = n;
  used_ = 0;
}

}  // namespace vantrel
