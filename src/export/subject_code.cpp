#include "export/subject_code.h"

#include "util/text.h"

namespace tv {

SubjectCode MakeSubjectCode(std::string_view name) {
  std::string code;
  if (!name.empty() && !(name.front() >= 'A' && name.front() <= 'Z')) code += name.front();
  code += Capitals(name);
  if (code.size() == 1) {
    if (name.find(' ') == std::string_view::npos) {
      code = LeftPart(name, 6);
    } else {
      code = std::string(1, name.front()) + InitialsAfter(name);
    }
  }
  SubjectCode result;
  result.long_code = code.size() >= 5 ? code : LeftPart(name, 10);
  result.code = LeftPart(code, 10);
  return result;
}

}  // namespace tv
