#include "script/messages.h"

#include <cstdio>

namespace kivora::script::messages {

namespace {

std::string str(std::string_view s) { return std::string(s); }
std::string num(long long v) { return std::to_string(v); }

}  // namespace

std::string unassignedVariable(bool ja, std::string_view name, int line) {
  return ja ? "Runtime Error: 未代入の変数(" + str(name) + ")を参照しました。行番号:" + num(line) +
                  "\n"
            : "Runtime Error: Unassigned variable(" + str(name) + ") at line " + num(line) + "\n";
}

std::string invalidIndex(bool ja, std::string_view name, std::int32_t index, int line) {
  const std::string element = str(name) + "[" + num(index) + "]";
  return ja ? "Runtime Error: 不正な配列要素番号指定(" + element + ")。行番号:" + num(line) + "\n"
            : "Runtime Error: Invalid index value(" + element + ") at line " + num(line) + "\n";
}

std::string divisionByZero(bool ja, std::string_view op, int line) {
  return ja ? "Runtime Error: 0による除算(" + str(op) + "0)。行番号:" + num(line) + "\n"
            : "Runtime Error: Division by zero(" + str(op) + "0) at line " + num(line) + "\n";
}

std::string tooManyCalls(bool ja, std::string_view name, std::size_t count, int line) {
  const std::string call = str(name) + "(args:" + num(static_cast<long long>(count)) + ")\n";
  return ja ? "Runtime Error 行番号:" + num(line) + "  関数呼び出し回数が多すぎます。" + call
            : "Runtime error at line " + num(line) + ": Too many function call:" + call;
}

std::string unknownFunction(bool ja, std::string_view name, std::size_t count, int line) {
  const std::string call = str(name) + "(args:" + num(static_cast<long long>(count)) + ")\n";
  return ja ? "Runtime Error 行番号:" + num(line) + "  関数または引数が正しくありません。" + call
            : "Runtime error at line " + num(line) +
                  ": Unknown Function Call or arguments not valid:" + call;
}

std::string unknownApplicationFunction(bool ja, std::string_view name, std::size_t count,
                                       int line) {
  const std::string call = str(name) + "(args:" + num(static_cast<long long>(count)) + ")\n";
  return ja ? "Runtime Error 行番号:" + num(line) +
                  "  この環境で呼び出せるアプリ提供関数がありません。" + call
            : "Runtime error at line " + num(line) +
                  ": Unknown application provided function call:" + call;
}

std::string invalidArrayName(bool ja, std::string_view functionName) {
  return ja ? str(functionName) +
                  "で指定されている配列変数名が無効です。変数名を文字列で指定してください。"
            : "The array variable name is invalid in function " + str(functionName) + ".";
}

std::string invalidParameter(bool ja) {
  return ja ? "kx_script()のパラメータ指定が正しくありません。" : "Invalid Parameter.";
}

std::string outOfMemoryTranslating(bool ja) {
  return ja ? "スクリプトの解釈中にメモリ不足になりました。"
            : "Out of memory while translating script.";
}

std::string unknownLabel(bool ja, std::string_view label) {
  return ja ? "Runtime error: ラベルが見つかりません。(GOTO " + str(label) + ")\n"
            : "Runtime error: Unknown Label(GOTO " + str(label) + ")\n";
}

std::string regexFailure(bool ja, std::string_view description) {
  return ja ? "Runtime error: 正規表現処理中にエラーが発生しました: " + str(description) + "\n"
            : "Runtime error: An error occurred during regular expression processing: " +
                  str(description) + "\n";
}

std::string runtimeFailure(bool ja, std::string_view description) {
  return ja ? "Runtime error: "
              "一般的なスタック不足、あるいは、正規表現の計算量が超える等のエラーが発生しました: " +
                  str(description) + "\n"
            : "Runtime error: std::runtime_error: " + str(description) + "\n";
}

std::string allocationFailure(bool ja, std::string_view description) {
  return ja ? "Runtime error: スクリプト実行中にメモリ確保に失敗しました: " + str(description) +
                  "\n"
            : "Runtime error: std::bad_alloc: " + str(description) + "\n";
}

std::string unknownFailure(bool ja) {
  return ja ? "Runtime error: 不明なエラーです。\n" : "Runtime error: Unknown error.\n";
}

std::string processorFault(bool ja, std::uint32_t exceptionCode) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(exceptionCode));
  return ja ? "スクリプト解釈中または実行中に例外を捕捉しました。例外コード: " + str(hex) + "\n"
            : "Unknown Exception: " + str(hex) + "\n";
}

}  // namespace kivora::script::messages
