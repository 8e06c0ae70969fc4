#include "export/export_context.h"

namespace tv {

std::string RecordPlace(const std::string& block, std::size_t index) {
  return " (bloque " + block + ", registro " + std::to_string(index + 1) + ")";
}

}  // namespace tv
