#pragma once
// Turns the syntax tree of one run into the form that runs (code.h), once,
// before the run starts: names become variable places, calls their functions.
// Function bodies are compiled at their first call, and the parts of a tree
// deeper than a few hundred levels when first run, so compiling never nests
// deeper than running does.

#include "script/code.h"
#include "script/code_nodes.h"
#include "script/nodes.h"

#include <map>
#include <memory>

namespace kivora::script {

class Compiler {
 public:
  Compiler(ScriptContext& ctx, Program& program) : ctx_(ctx), program_(program) {}

  Statement* script(BlockNode& root);
  Statement* functionBody(CompiledFunction& function);
  // A part of the tree that was left for later (see Deferred in compiler.cpp).
  Statement* deferredStatement(Node& node);
  Expression* deferredExpression(Node& node);

 private:
  // A compiled expression and how many levels of it run without a stack check.
  struct Built {
    Expression* expression;
    int unchecked;
  };

  Statement* statement(Node& node);
  Statement* block(BlockNode& node);
  Expression* expression(Node& node) { return built(node).expression; }
  Built built(Node& node);
  Built buildExpression(Node& node);
  // Puts a stack check above an expression when enough levels ran without one.
  Built checked(Expression* expression, int uncheckedBelow);
  Built assignment(AssignNode& node);
  Built call(FuncCallNode& node);
  std::vector<Expression*> expressions(std::vector<NodePtr>& nodes);
  CompiledFunction& function(const UserFunction& source);
  Variable& place(const std::string& name) { return ctx_.variables.place(name); }

  ScriptContext& ctx_;
  Program& program_;
  std::map<const UserFunction*, std::unique_ptr<CompiledFunction>> functions_;
  int depth_ = 0;  // of the compilation under way
};

// The compiled script of one run with what compiled it; deferred parts and
// function bodies are added to it as the run reaches them.
struct CompiledScript {
  explicit CompiledScript(ScriptContext& ctx) : compiler(ctx, program) {}
  Program program;
  Compiler compiler;
};

}  // namespace kivora::script
