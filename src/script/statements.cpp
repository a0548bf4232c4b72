// Statements: blocks and their labels, if, the loops, exit, break and
// continue, return and goto.

#include "script/code_nodes.h"
#include "script/nodes.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kivora::script {

namespace {

// The host's statement callback; when it asks for a stop, the run stops after
// the current statement.
bool hostStopsRun(ScriptContext& ctx, int line) {
  if (!ctx.host.statementCallback || ctx.host.statementCallback(line) != 1) return false;
  ctx.state.flowState = kFlowStop;
  return true;
}

// A block without labels: a goto inside it can only be for a block around it.
class Block final : public Statement {
 public:
  Block(int line, std::vector<Statement*> statements)
      : Statement(line), statements_(std::move(statements)) {}

  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    const bool askHost = static_cast<bool>(ctx.host.statementCallback);
    for (Statement* statement : statements_) {
      statement->run(ctx);
      const int flow = ctx.state.flowState;
      // A statement left by a return did not complete: no statement callback.
      if (flow == kFlowReturn) break;
      if (askHost && hostStopsRun(ctx, statement->line)) break;
      if (flow != kFlowRunning) break;
    }
  }

 private:
  const std::vector<Statement*> statements_;
};

// A block with labels: a goto to one of them, from any depth below, goes on
// after the label. A goto statement of this block that names one of them
// jumps there without travelling as an exception.
class LabelledBlock final : public Statement {
 public:
  explicit LabelledBlock(BlockPlan plan)
      : Statement(plan.line),
        statements_(std::move(plan.statements)),
        labels_(std::move(plan.labels)),
        jumps_(std::move(plan.jumps)) {}

  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    std::size_t i = 0;
    while (i < statements_.size()) {
      Statement& statement = *statements_[i];
      std::ptrdiff_t target = jumps_[i];
      if (target < 0) {
        try {
          statement.run(ctx);
        } catch (const GotoException& jump) {
          const auto found = labels_.find(jump.label);
          if (found == labels_.end()) throw;
          target = static_cast<std::ptrdiff_t>(found->second);
        }
      } else {
        ctx.checkStack();  // as the goto statement would
      }
      if (target >= 0) {
        // A jump is a statement too: a loop made only of gotos can be stopped.
        if (hostStopsRun(ctx, statement.line)) break;
        i = static_cast<std::size_t>(target) + 1;
        continue;
      }
      if (ctx.state.flowState == kFlowReturn) break;
      if (hostStopsRun(ctx, statement.line)) break;
      if (ctx.state.flowState != kFlowRunning) break;
      ++i;
    }
  }

 private:
  const std::vector<Statement*> statements_;
  const std::map<std::string, std::size_t, std::less<>> labels_;
  const std::vector<std::ptrdiff_t> jumps_;
};

class If final : public Statement {
 public:
  If(int line, Expression* condition, Statement* thenBlock, Statement* elsePart)
      : Statement(line), condition_(condition), then_(thenBlock), else_(elsePart) {}
  void run(ScriptContext& ctx) override {
    if (condition_->truth(ctx)) {
      then_->run(ctx);
    } else if (else_) {
      else_->run(ctx);
    }
  }

 private:
  Expression* const condition_;
  Statement* const then_;
  Statement* const else_;
};

// What a loop does after its body, by the flow state the body left.
bool leaveAfterBody(ScriptState& state) {
  switch (state.flowState) {
    case kFlowBreak:
      state.flowState = kFlowRunning;
      return true;
    case kFlowContinue:
      state.flowState = kFlowRunning;
      return false;
    case kFlowStop:
    case kFlowReturn:
      return true;
    default:
      return false;
  }
}

// A loop whose body holds no statement never reaches the statement callback
// through its body, so such a loop asks the host itself after every turn.
class While final : public Statement {
 public:
  While(int line, Expression* condition, Statement* body, bool endless, bool askHost)
      : Statement(line), condition_(condition), body_(body), endless_(endless), askHost_(askHost) {}
  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    for (;;) {
      if (!endless_ && !condition_->truth(ctx)) break;
      body_->run(ctx);
      if (leaveAfterBody(ctx.state)) break;
      if (askHost_ && hostStopsRun(ctx, line)) break;
    }
  }

 private:
  Expression* const condition_;
  Statement* const body_;
  const bool endless_;
  const bool askHost_;
};

class Repeat final : public Statement {
 public:
  Repeat(int line, Statement* body, Expression* condition, bool continueWhile, bool askHost)
      : Statement(line),
        body_(body),
        condition_(condition),
        continueWhile_(continueWhile),
        askHost_(askHost) {}
  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    for (;;) {
      body_->run(ctx);
      if (leaveAfterBody(ctx.state)) break;
      if (askHost_ && hostStopsRun(ctx, line)) break;
      if (condition_->truth(ctx) != continueWhile_) break;
    }
  }

 private:
  Statement* const body_;
  Expression* const condition_;
  const bool continueWhile_;
  const bool askHost_;
};

class For final : public Statement {
 public:
  For(int line, Expression* init, Expression* condition, Expression* step, Statement* body,
      bool askHost)
      : Statement(line),
        init_(init),
        condition_(condition),
        step_(step),
        body_(body),
        askHost_(askHost) {}
  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    init_->run(ctx);
    for (;;) {
      if (!condition_->truth(ctx)) break;
      body_->run(ctx);
      if (leaveAfterBody(ctx.state)) break;
      if (askHost_ && hostStopsRun(ctx, line)) break;
      step_->run(ctx);
    }
  }

 private:
  Expression* const init_;
  Expression* const condition_;
  Expression* const step_;
  Statement* const body_;
  const bool askHost_;
};

class Exit final : public Statement {
 public:
  Exit(int line, Expression* code) : Statement(line), code_(code) {}
  void run(ScriptContext& ctx) override {
    // The code is computed before the stop is set, so a function called for it
    // runs to its end.
    const std::int32_t exitCode = code_ ? code_->integer(ctx) : 0;
    ctx.state.flowState = kFlowStop;
    ctx.state.exitCode = exitCode;
  }

 private:
  Expression* const code_;
};

class Flow final : public Statement {
 public:
  Flow(int line, int state) : Statement(line), state_(state) {}
  void run(ScriptContext& ctx) override { ctx.state.flowState = state_; }

 private:
  const int state_;
};

class Return final : public Statement {
 public:
  Return(int line, Expression* value) : Statement(line), value_(value) {}
  void run(ScriptContext& ctx) override {
    if (!value_) {
      ctx.startReturn(Value{});
    } else if (value_->traits.alwaysInteger) {
      ctx.startReturn(value_->integer(ctx));
    } else {
      // A plain integer travels without a copy of its value.
      Scratch scratch;
      const Operand o = value_->operand(ctx, scratch);
      if (!o.value || o.value->isPlainInteger()) {
        ctx.startReturn(o.value ? o.value->intValue : o.integer);
      } else if (scratch && o.value == &*scratch) {
        ctx.startReturn(std::move(*scratch));
      } else {
        ctx.startReturn(Value(*o.value));
      }
    }
  }

 private:
  Expression* const value_;
};

class Goto final : public Statement {
 public:
  Goto(int line, std::string label, Expression* target)
      : Statement(line), label_(std::move(label)), target_(target) {}
  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    if (target_) throw GotoException{toUpperAscii(target_->value(ctx).toString())};
    throw GotoException{label_};
  }

 private:
  const std::string label_;
  Expression* const target_;  // a computed target; the label is unused then
};

}  // namespace

Statement* makeBlock(Program& program, BlockPlan plan) {
  if (plan.labels.empty()) return program.make<Block>(plan.line, std::move(plan.statements));
  return program.make<LabelledBlock>(std::move(plan));
}

Statement* makeIf(Program& program, int line, Expression* condition, Statement* thenBlock,
                  Statement* elsePart) {
  return program.make<If>(line, condition, thenBlock, elsePart);
}

Statement* makeWhile(Program& program, int line, Expression* condition, Statement* body,
                     bool endless, bool emptyBody) {
  return program.make<While>(line, condition, body, endless, emptyBody);
}

Statement* makeRepeat(Program& program, int line, Statement* body, Expression* condition,
                      bool continueWhile, bool emptyBody) {
  return program.make<Repeat>(line, body, condition, continueWhile, emptyBody);
}

Statement* makeFor(Program& program, int line, Expression* init, Expression* condition,
                   Expression* step, Statement* body, bool emptyBody) {
  return program.make<For>(line, init, condition, step, body, emptyBody);
}

Statement* makeExit(Program& program, int line, Expression* code) {
  return program.make<Exit>(line, code);
}

Statement* makeBreak(Program& program, int line) { return program.make<Flow>(line, kFlowBreak); }

Statement* makeContinue(Program& program, int line) {
  return program.make<Flow>(line, kFlowContinue);
}

Statement* makeReturn(Program& program, int line, Expression* value) {
  return program.make<Return>(line, value);
}

Statement* makeGoto(Program& program, int line, std::string label, Expression* target) {
  return program.make<Goto>(line, std::move(label), target);
}

}  // namespace kivora::script
