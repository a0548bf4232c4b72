// The message-box builtins and INPUT. Message boxes go through the host's
// message-box function; INPUT through the system's input dialog.

#include "script/builtins/handlers.h"
#include "script/builtins/system_interface.h"

namespace kivora::script::builtins {

namespace {

// Shows text with the caller's caption when two arguments were given (even an
// empty one), else with the builtin's own caption.
int show(BuiltinCall& call, const char* fixedCaption, unsigned flags) {
  const std::string caption = call.count() >= 2 ? call.text(1) : std::string(fixedCaption);
  return call.ctx.showHostMessageBox(call.text(0), caption, flags);
}

}  // namespace

Value textOut(BuiltinCall& call) {
  show(call, "Message", mb::kOk);
  return Value::integer(0);
}

Value question(BuiltinCall& call) {
  return Value::integer(show(call, "Question", mb::kYesNo | mb::kIconQuestion) == mb::kIdYes ? 1
                                                                                             : 0);
}

Value questionOkCancel(BuiltinCall& call) {
  return Value::integer(show(call, "Question", mb::kOkCancel | mb::kIconQuestion) == mb::kIdOk ? 1
                                                                                               : 0);
}

Value questionYesNoCancel(BuiltinCall& call) {
  const int answer = show(call, "Question", mb::kYesNoCancel | mb::kIconQuestion);
  return Value::integer(answer == mb::kIdYes ? 1 : (answer == mb::kIdNo ? 0 : -1));
}

Value warning(BuiltinCall& call) {
  show(call, "Warning", mb::kIconWarning);
  return Value::integer(0);
}

Value information(BuiltinCall& call) {
  show(call, "Information", mb::kIconInformation);
  return Value::integer(0);
}

Value error(BuiltinCall& call) {
  show(call, "Error", mb::kIconError);
  return Value::integer(0);
}

Value input(BuiltinCall& call) {
  InputDialogParams params;
  params.message = utf8ToWide(call.text(0));
  const std::string title = call.count() >= 2 ? call.text(1) : std::string();
  params.title = utf8ToWide(title.empty() ? "Input" : title);
  params.japanese = call.ctx.japanese();
  if (call.ctx.system.inputDialog(call.ctx.host.ownerWindow, params) != 1) return Value::string({});
  return Value::string(wideToUtf8(params.entered));
}

}  // namespace kivora::script::builtins
