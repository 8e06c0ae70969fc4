#include "worktables/field_types.h"

namespace tv::worktables {

PhysicalType PhysicalTypeOf(const FieldDef& field) {
  switch (field.type) {
    case FieldType::kInteger:
      return {'N', 11, 0};
    case FieldType::kFloat:
      return {'N', 20, 4};
    case FieldType::kLogical:
      return {'L', 1, 0};
    case FieldType::kCharacter:
      break;
  }
  return {'C', field.size, 0};
}

FieldType LogicalTypeOf(char type, int decimals) {
  switch (type) {
    case 'N':
      return decimals == 0 ? FieldType::kInteger : FieldType::kFloat;
    case 'I':
    case '+':
      return FieldType::kInteger;
    case 'F':
    case 'B':
    case 'O':
    case 'Y':
      return FieldType::kFloat;
    case 'L':
      return FieldType::kLogical;
    default:
      return FieldType::kCharacter;
  }
}

}  // namespace tv::worktables
