// The grammar of KX-Script. Function definitions are entered into the engine's
// function table as they are reduced; everything else becomes the tree that the
// runner evaluates.
//
// === and !== deliberately have no precedence: every conflict they take part in
// is resolved by shifting, so their left operand is the nearest term and their
// right operand runs to the end of the expression. The other expected conflicts
// come from the statements that need no line end (return, goto, until's
// condition): a following token that could start an expression always
// continues it.

%require "3.8"
%language "c++"
%skeleton "lalr1.cc"
%define api.namespace {kivora::script}
%define api.parser.class {Parser}
%define api.value.type variant
%define api.token.constructor
%define parse.error custom
%locations
%define api.location.type {kivora::script::SourcePos}
%parse-param {kivora::script::ParseContext& ctx}
// The parser's own stack goes to the scanner so that nesting deeper than the
// stack limit ends the parse before the tree gets that deep.
%lex-param {kivora::script::ParseContext& ctx}
%lex-param {const stack_type& yystack_}
%expect 119

%code requires {
#include "script/nodes.h"
#include "script/parse_context.h"

#include <cstdint>
#include <string>
#include <vector>

// A symbol's position is the line of its first token; an empty rule takes the
// line of the symbol before it.
#define YYLLOC_DEFAULT(Current, Rhs, N) \
  do {                                  \
    if (N)                              \
      (Current) = YYRHSLOC(Rhs, 1);     \
    else                                \
      (Current) = YYRHSLOC(Rhs, 0);     \
  } while (false)
}

%code {
#include "script/scanner.h"

namespace kivora::script {

template <typename Stack>
Parser::symbol_type yylex(ParseContext& ctx, const Stack& stack) {
  if (stack.size() >= kMaxParserStackDepth) {
    ctx.reportSyntaxError("parser stack overflow");
    // The scanner's error token ends the parse without a second report.
    return Parser::make_YYerror(SourcePos{});
  }
  return ctx.scanner.next();
}

namespace {

NodePtr binary(const SourcePos& at, int op, NodePtr& left, NodePtr& right) {
  return makeNode<BinaryNode>(at.line, op, std::move(left), std::move(right));
}

NodePtr assign(const SourcePos& at, std::string& name, int op, NodePtr& value) {
  return makeNode<AssignNode>(at.line, std::move(name), std::move(value), op);
}

Owned<BlockNode> emptyBlock(const SourcePos& at) { return makeNode<BlockNode>(at.line); }

}  // namespace

}  // namespace kivora::script
}

%token <std::int32_t> INTEGER
%token <std::string> IDENTIFIER STRING_LITERAL LABEL_IDENT
%token IF ELSE WHILE LOOP FOR REPEAT UNTIL BREAK CONTINUE EXIT CB FUNC RETURN GOTO
%token ASSIGN ADD_ASSIGN SUB_ASSIGN MUL_ASSIGN DIV_ASSIGN MOD_ASSIGN POW_ASSIGN
%token RSHIFT_ASSIGN LSHIFT_ASSIGN OR_ASSIGN XOR_ASSIGN AND_ASSIGN
%token INC DEC EQ NE STRICT_EQ STRICT_NE LE GE AND OR POW LS RS
%token EOL

%type <Owned<BlockNode>> stmt_list block
%type <NodePtr> stmt opt_else expr_or_empty logic_expr_or_empty logic_expr expr term factor
%type <std::vector<NodePtr>> args args_list
%type <std::vector<std::string>> param_list params

%right ASSIGN ADD_ASSIGN SUB_ASSIGN MUL_ASSIGN DIV_ASSIGN MOD_ASSIGN POW_ASSIGN
       RSHIFT_ASSIGN LSHIFT_ASSIGN OR_ASSIGN XOR_ASSIGN AND_ASSIGN '?' ':'
%left OR
%left AND
%precedence '!'
%left '|'
%left '^'
%left '&'
%left EQ NE
%left '<' '>' LE GE
%left LS RS
%left '+' '-'
%left '*' '/' '%'
%left POW

%start program

%%

program
  : stmt_list { ctx.root = std::move($1); }
  ;

stmt_list
  : stmt                { $$ = emptyBlock(@$); if ($1) $$->append(std::move($1)); }
  | stmt_list stmt      { $$ = std::move($1); if ($2) $$->append(std::move($2)); }
  ;

block
  : '{' stmt_list '}'   { $$ = std::move($2); }
  | '{' '}'             { $$ = emptyBlock(@$); }
  ;

stmt
  : IF logic_expr block opt_else  { $$ = makeNode<IfNode>(@$.line, std::move($2), std::move($3), std::move($4)); }
  | WHILE logic_expr block        { $$ = makeNode<WhileNode>(@$.line, std::move($2), std::move($3), false); }
  | LOOP block                    { $$ = makeNode<WhileNode>(@$.line, nullptr, std::move($2), true); }
  | FOR '(' expr_or_empty ',' logic_expr_or_empty ',' expr_or_empty ')' block
      { $$ = makeNode<ForNode>(@$.line, std::move($3), std::move($5), std::move($7), std::move($9)); }
  | REPEAT block UNTIL logic_expr { $$ = makeNode<DoWhileNode>(@$.line, std::move($2), std::move($4), false); }
  | BREAK EOL                     { $$ = makeNode<FlowNode>(@$.line, kBreakNode); }
  | CONTINUE EOL                  { $$ = makeNode<FlowNode>(@$.line, kContinueNode); }
  | EXIT logic_expr EOL           { $$ = makeNode<ExitNode>(@$.line, std::move($2)); }
  | EXIT EOL                      { $$ = makeNode<ExitNode>(@$.line, nullptr); }
  | RETURN expr                   { $$ = makeNode<ReturnNode>(@$.line, std::move($2)); }
  | RETURN                        { $$ = makeNode<ReturnNode>(@$.line, nullptr); }
  | logic_expr EOL                { $$ = std::move($1); }
  | EOL                           { $$ = nullptr; }
  | GOTO LABEL_IDENT              { $$ = makeNode<GotoNode>(@$.line, std::move($2)); }
  | GOTO expr                     { $$ = makeNode<GotoNode>(@$.line, std::move($2)); }
  | LABEL_IDENT                   { $$ = makeNode<LabelNode>(@$.line, std::move($1)); }
  ;

opt_else
  : %empty                        { $$ = nullptr; }
  | ELSE block                    { $$ = std::move($2); }
  | ELSE IF logic_expr block opt_else
      { $$ = makeNode<IfNode>(@2.line, std::move($3), std::move($4), std::move($5)); }
  ;

expr_or_empty
  : expr                          { $$ = std::move($1); }
  | %empty                        { $$ = makeNode<DummyNode>(@$.line); }
  ;

logic_expr_or_empty
  : logic_expr                    { $$ = std::move($1); }
  | %empty                        { $$ = makeNode<TrueNode>(@$.line); }
  ;

logic_expr
  : logic_expr AND logic_expr     { $$ = binary(@$, kOpAnd, $1, $3); }
  | logic_expr OR logic_expr      { $$ = binary(@$, kOpOr, $1, $3); }
  | '!' logic_expr                { $$ = makeNode<UnaryNode>(@$.line, kOpNot, std::move($2)); }
  | expr                          { $$ = std::move($1); }
  ;

expr
  : expr '+' expr                 { $$ = binary(@$, kOpAdd, $1, $3); }
  | expr '-' expr                 { $$ = binary(@$, kOpSub, $1, $3); }
  | expr '*' expr                 { $$ = binary(@$, kOpMul, $1, $3); }
  | expr '/' expr                 { $$ = binary(@$, kOpDiv, $1, $3); }
  | expr '%' expr                 { $$ = binary(@$, kOpMod, $1, $3); }
  | expr POW expr                 { $$ = binary(@$, kOpPow, $1, $3); }
  | expr '|' expr                 { $$ = binary(@$, kOpBitOr, $1, $3); }
  | expr '&' expr                 { $$ = binary(@$, kOpBitAnd, $1, $3); }
  | expr '^' expr                 { $$ = binary(@$, kOpBitXor, $1, $3); }
  | expr LS expr                  { $$ = binary(@$, kOpShl, $1, $3); }
  | expr RS expr                  { $$ = binary(@$, kOpShr, $1, $3); }
  | expr EQ expr                  { $$ = binary(@$, kOpEq, $1, $3); }
  | expr NE expr                  { $$ = binary(@$, kOpNe, $1, $3); }
  | expr STRICT_EQ expr           { $$ = binary(@$, kOpStrictEq, $1, $3); }
  | expr STRICT_NE expr           { $$ = binary(@$, kOpStrictNe, $1, $3); }
  | expr '<' expr                 { $$ = binary(@$, kOpLt, $1, $3); }
  | expr '>' expr                 { $$ = binary(@$, kOpGt, $1, $3); }
  | expr LE expr                  { $$ = binary(@$, kOpLe, $1, $3); }
  | expr GE expr                  { $$ = binary(@$, kOpGe, $1, $3); }
  | IDENTIFIER ASSIGN expr        { $$ = assign(@$, $1, kAssignPlain, $3); }
  | IDENTIFIER ADD_ASSIGN expr    { $$ = assign(@$, $1, kAssignAdd, $3); }
  | IDENTIFIER SUB_ASSIGN expr    { $$ = assign(@$, $1, kAssignSub, $3); }
  | IDENTIFIER MUL_ASSIGN expr    { $$ = assign(@$, $1, kAssignMul, $3); }
  | IDENTIFIER DIV_ASSIGN expr    { $$ = assign(@$, $1, kAssignDiv, $3); }
  | IDENTIFIER MOD_ASSIGN expr    { $$ = assign(@$, $1, kAssignMod, $3); }
  | IDENTIFIER POW_ASSIGN expr    { $$ = assign(@$, $1, kAssignPow, $3); }
  | IDENTIFIER RSHIFT_ASSIGN expr { $$ = assign(@$, $1, kAssignShr, $3); }
  | IDENTIFIER LSHIFT_ASSIGN expr { $$ = assign(@$, $1, kAssignShl, $3); }
  | IDENTIFIER OR_ASSIGN expr     { $$ = assign(@$, $1, kAssignOr, $3); }
  | IDENTIFIER XOR_ASSIGN expr    { $$ = assign(@$, $1, kAssignXor, $3); }
  | IDENTIFIER AND_ASSIGN expr    { $$ = assign(@$, $1, kAssignAnd, $3); }
  | INC IDENTIFIER                { NodePtr one = makeNode<IntNode>(@2.line, 1); $$ = assign(@$, $2, kAssignAdd, one); }
  | DEC IDENTIFIER                { NodePtr one = makeNode<IntNode>(@2.line, 1); $$ = assign(@$, $2, kAssignSub, one); }
  | IDENTIFIER INC                { NodePtr one = makeNode<IntNode>(@1.line, 1); $$ = assign(@$, $1, kAssignPostInc, one); }
  | IDENTIFIER DEC                { NodePtr one = makeNode<IntNode>(@1.line, 1); $$ = assign(@$, $1, kAssignPostDec, one); }
  | IDENTIFIER '[' expr ']' ASSIGN expr
      { $$ = makeNode<ArrayAssignNode>(@$.line, std::move($1), std::move($3), std::move($6)); }
  | expr '?' expr ':' expr
      { $$ = makeNode<CondNode>(@$.line, std::move($1), std::move($3), std::move($5)); }
  | term                          { $$ = std::move($1); }
  ;

term
  : '-' factor                    { $$ = makeNode<UnaryNode>(@$.line, kOpSub, std::move($2)); }
  | '~' factor                    { $$ = makeNode<UnaryNode>(@$.line, kOpBitNot, std::move($2)); }
  | factor                        { $$ = std::move($1); }
  ;

factor
  : INTEGER                       { $$ = makeNode<IntNode>(@$.line, $1); }
  | STRING_LITERAL                { $$ = makeNode<StringNode>(@$.line, std::move($1)); }
  | IDENTIFIER                    { $$ = makeNode<VarNode>(@$.line, std::move($1)); }
  | '(' logic_expr ')'            { $$ = std::move($2); }
  | IDENTIFIER '(' args ')'       { $$ = makeNode<FuncCallNode>(@$.line, std::move($1), std::move($3)); }
  | CB '.' IDENTIFIER '(' args ')' { $$ = makeNode<CBCallNode>(@$.line, std::move($3), std::move($5)); }
  | IDENTIFIER '[' expr ']'       { $$ = makeNode<ArrayAccessNode>(@$.line, std::move($1), std::move($3)); }
  | FUNC IDENTIFIER '(' param_list ')' block
      { ctx.defineFunction(std::move($2), std::move($4), std::move($6)); $$ = makeNode<DummyNode>(@$.line); }
  ;

param_list
  : %empty                        { }
  | params                        { $$ = std::move($1); }
  ;

params
  : IDENTIFIER                    { $$.push_back(std::move($1)); }
  | params ',' IDENTIFIER         { $$ = std::move($1); $$.push_back(std::move($3)); }
  ;

args
  : %empty                        { }
  | args_list                     { $$ = std::move($1); }
  ;

args_list
  : expr                          { $$.push_back(std::move($1)); }
  | args_list ',' expr            { $$ = std::move($1); $$.push_back(std::move($3)); }
  ;

%%

namespace kivora::script {

// "parse error", followed by the expected tokens when there are fewer than five.
void Parser::report_syntax_error(const context& where) const {
  std::string message;
  try {
    message = "parse error";
    const int count = where.expected_tokens(nullptr, 0);
    if (count > 0 && count < 5) {
      symbol_kind_type expected[5];
      where.expected_tokens(expected, 5);
      for (int i = 0; i < count; ++i) {
        message += i == 0 ? ", expecting `" : " or `";
        message += expected[i] == symbol_kind::S_YYEOF ? "$end" : symbol_name(expected[i]);
        message += "'";
      }
    }
  } catch (const std::bad_alloc&) {
    message = "parse error; also virtual memory exceeded";
  }
  ctx.reportSyntaxError(message);
}

void Parser::error(const location_type&, const std::string& message) { ctx.reportSyntaxError(message); }

}  // namespace kivora::script
