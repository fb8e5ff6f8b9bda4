// Report files of active links. A macro text or an open-window report
// string may name a report file on this machine; the create and set calls
// store such files on the server as support files of the active link and
// send a numbered reference ("!n!") in place of the name, and delete the
// support files of references the definition lets go.
//
//   ReportFiles reports;
//   if (reports.prepare(ifActions, elseActions, status) >= 2) ...;  // texts rewritten
//   if (call.send()) reports.store(control, name, status);          // files up or gone
//   // the caller's own texts are back when reports goes out of scope
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "zqapi/zq_workflow.h"

namespace zq::calls {

class ReportFiles {
 public:
  ReportFiles() = default;
  ReportFiles(const ReportFiles&) = delete;
  ReportFiles& operator=(const ReportFiles&) = delete;
  ~ReportFiles();

  // Finds the report lines of the actions' texts (if actions, then else
  // actions) and puts rewritten copies in the caller's actions until this
  // object ends. 0, or 154 added to status.
  int prepare(ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
              ZQStatusList* status);

  // After the remote call succeeded: deletes the support files let go and
  // stores the report files named. Failures are warnings (450, 451).
  void store(ZQControlStruct* control, const char* linkName, ZQStatusList* status) const;

  struct Item {
    bool upload = false;
    uint32_t number = 0;  // the support file
    std::string path;     // uploads
    size_t text = 0;      // index into texts_
    size_t at = 0;        // where the value starts in the text
    size_t length = 0;    // of a reference the item removes (0: none)
  };
  // In processing order (the last found first).
  const std::vector<Item>& items() const { return items_; }

 private:
  struct Text {
    char** slot = nullptr;  // the action's member
    char* own = nullptr;    // the caller's pointer, put back at the end
    std::string rewritten;
    char* copy = nullptr;
  };
  void parse(size_t text, bool openWindow);
  void walk(ZQActiveLinkActionList* actions);

  std::vector<Text> texts_;
  std::vector<Item> items_;
  uint32_t highest_ = 0;
};

}  // namespace zq::calls
