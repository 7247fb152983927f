/* The calculator language. This file states what is recognised and where
 * code is emitted; the bytes themselves are the emitter's business.
 *
 * Code is produced in one pass by the actions below, most of them mid-rule
 * actions placed at the exact point where their code belongs. Other
 * mid-rule actions name the construct being parsed (the context label shown
 * by a syntax error report); a label point after an expression or a body of
 * lines runs once the token that ends them has been read.
 *
 * Every statement is complete, and all its code emitted, as soon as its
 * closing NEWLINE or ":" is shifted: the states after it reduce by default,
 * without asking for a lookahead. So the END that the scanner side appends at
 * "exit" always follows the last complete statement.
 *
 * Conflicts, all resolved by shifting (%expect below):
 *   - "&" has no precedence, so wherever "&" and another operator (unary
 *     minus included) compete, the later operator groups first: the state
 *     "e & e ." against each of the 16 binary operators (16), and the
 *     states "e op e ." of the 15 other binary operators and "- e ."
 *     against "&" (16).
 *   - a NEWLINE right after THEN, ELSE, DO or REPEAT is the optional line
 *     end of the construct, not an empty line of its body (4).
 *   - at the start of a statement, IDENTIFIER "=" is an assignment and
 *     IDENTIFIER "(" list ")" "=" a cell assignment, never a comparison (2).
 */

%require "3.8"
%define api.pure full
%define api.prefix {ostrac_yy}
%define api.token.prefix {TOK_}
%define api.value.type {std::int32_t}
%param {ostrac::frontend::ParseContext& ctx}
%expect 38

%code requires {
#include <cstdint>

#include "frontend/parse_context.h"
}

%code {
#include "frontend/construct_stack.h"
#include "code/opcodes.h"

// The parse stack starts with 200 entries and doubles up to 10000; past
// that the parse fails with return value 2. Grown stacks come from the
// context, which frees them however the parse ends.
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define YYSTACK_ALLOC(bytes) ctx.allocate_parse_stack(bytes)
#define YYSTACK_ALLOC_MAXIMUM (static_cast<std::size_t>(1) << 30)

namespace {
using ostrac::frontend::Construct;
using ostrac::code::Op;
}  // namespace

static int yylex(OSTRAC_YYSTYPE* value, ostrac::frontend::ParseContext& ctx);
static void yyerror(ostrac::frontend::ParseContext& ctx, const char* message);
}

%token NUMBER IMAGINARY IDENTIFIER STRING NEWLINE GE LE NE
%token FOR TO STEP NEXT PRINT GOTO IF THEN ELSE ENDIF DO REPEAT WHILE ENDWHILE UNTIL
%token FUNCTION SUB ENDFN ENDSUB SHARED LOAD EVAL INPUT HALT LABEL GOSUB RETURN RETURNF GDRAW
%token GLOBAL CONST  /* reserved words: no production accepts them */

/* Lowest to highest. "&" is deliberately absent. */
%right '='
%left AND OR
%left NE '>' '<' GE LE
%left MOD
%left '+' '-'
%left '*' '/'
%precedence UMINUS
%right '^' '@'

%start lines

%%

lines
  : %empty
  | lines line
  ;

line
  : function_def
  | procedure_def
  | statement
  ;

end
  : NEWLINE  { ctx.emit.line_end(); }
  | ':'
  ;

opt_newline
  : %empty
  | NEWLINE  { ctx.emit.line_end(); }
  ;

print_word
  : PRINT
  | '?'
  ;

statement
  : print_word  { ctx.label("print"); ctx.emit.begin_statement_list(); }
    expr_list   { ctx.emit.end_statement_list(Op::PRINT); }
    end
  | LABEL       { ctx.label("label"); }
    IDENTIFIER  { ctx.emit.label(ctx.text($3)); }
    end
  | GOTO        { ctx.label("goto"); }
    IDENTIFIER  { ctx.emit.jump_to_label(ctx.text($3), Op::GOTO); }
    end
  | GOSUB       { ctx.label("gosub"); }
    IDENTIFIER  { ctx.emit.jump_to_label(ctx.text($3), Op::GOSUB); }
    end
  | RETURN      { ctx.label("return"); ctx.emit.instruction(Op::RETURN); }
    end
  | RETURNF     { ctx.emit.instruction(Op::EXITFUNC); }
    end
  | IF          { ctx.label("if"); }
    expr THEN   { ctx.emit.if_then(); }
    opt_newline lines else_part
                { ctx.label("if without endif"); }
    ENDIF       { ctx.emit.if_end(); }
    end
  | FOR         { ctx.label("Sintax Error in FOR"); }
    IDENTIFIER '=' expr TO expr step_part
                { ctx.emit.for_header(ctx.text($3)); }
    end lines   { ctx.label("FOR, Next expected"); }
    NEXT        { ctx.emit.for_next(); }
    end
  | WHILE       { ctx.label("while"); ctx.emit.while_start(); }
    expr        { ctx.label("while whithout DO"); }
    DO          { ctx.emit.while_do(); }
    opt_newline lines ENDWHILE
                { ctx.emit.while_end(); }
    end
  | REPEAT      { ctx.label("REPEAT"); ctx.emit.repeat_start(); }
    opt_newline lines UNTIL expr
                { ctx.emit.repeat_until(); }
    end
  | IDENTIFIER '(' counted_list ')' '='
                { ctx.label("cell assign"); }
    expr        { ctx.emit.set_cell(ctx.text($1)); }
    end
  | IDENTIFIER '=' { ctx.label("assign"); }
    expr        { ctx.emit.assign(ctx.text($1)); }
    end
  | EVAL        { ctx.label("eval"); }
    expr        { ctx.emit.instruction(Op::EVAL); }
    end
  | INPUT       { ctx.label("input"); ctx.emit.begin_statement_list(); }
    expr_list   { ctx.emit.end_statement_list(Op::INPUT); }
    end
  | LOAD        { ctx.label("load"); }
    expr        { ctx.emit.instruction(Op::LOAD); }
    end
  | GDRAW       { ctx.emit.instruction(Op::GRAPH); }
    end
  | HALT        { ctx.label("halt"); ctx.emit.instruction(Op::HALT); }
    end
  | SHARED counted_list
                { ctx.emit.instruction(Op::GLOBAL); }
    end
  | expr        { ctx.emit.instruction(Op::SHOW); }
    end
  | NEWLINE     { ctx.emit.empty_line(); }
  ;

else_part
  : %empty
  | ELSE        { ctx.emit.if_else(); }
    opt_newline lines
  ;

step_part
  : %empty      { ctx.emit.number(1.0); }
  | STEP expr
  ;

/* The label "ID expected" that follows the name would be replaced by
   "Error in params" before another token is read, so only the latter is
   ever seen. */
function_def
  : FUNCTION    { ctx.label("Function"); }
    IDENTIFIER  { ctx.label("Error in params");
                  ctx.emit.routine_header(ctx.text($3), Construct::Function); }
    '(' counted_list ')'
                { ctx.emit.parameters_end(); }
    end         { ctx.emit.enter_routine_body(ctx.text($3)); }
    lines ENDFN { ctx.emit.routine_end(Construct::Function); }
    end
  ;

procedure_def
  : SUB         { ctx.label("Function"); }
    IDENTIFIER  { ctx.emit.routine_header(ctx.text($3), Construct::Sub); }
    procedure_params
    end         { ctx.emit.enter_routine_body(ctx.text($3)); }
    lines ENDSUB
                { ctx.emit.routine_end(Construct::Sub); }
    end
  ;

procedure_params
  : %empty      { ctx.emit.no_parameters(); }
  | '(' counted_list ')'
                { ctx.emit.parameters_end(); }
  ;

expr
  : value
  | call
  | '(' expr ')'
  | '-' expr %prec UMINUS  { ctx.emit.instruction(Op::NEG); }
  | expr '+' expr  { ctx.emit.instruction(Op::ADD); }
  | expr '-' expr  { ctx.emit.instruction(Op::SUB); }
  | expr '*' expr  { ctx.emit.instruction(Op::MUL); }
  | expr '/' expr  { ctx.emit.instruction(Op::DIV); }
  | expr '^' expr  { ctx.emit.instruction(Op::POW); }
  | expr '@' expr  { ctx.emit.instruction(Op::POLAR); }
  | expr '&' expr  { ctx.emit.instruction(Op::CROSS); }
  | expr MOD expr  { ctx.emit.instruction(Op::MOD); }
  | expr '=' expr  { ctx.emit.instruction(Op::EQ); }
  | expr NE expr   { ctx.emit.instruction(Op::NE); }
  | expr '>' expr  { ctx.emit.instruction(Op::GT); }
  | expr '<' expr  { ctx.emit.instruction(Op::LT); }
  | expr GE expr   { ctx.emit.instruction(Op::GE); }
  | expr LE expr   { ctx.emit.instruction(Op::LE); }
  | expr OR expr   { ctx.emit.instruction(Op::OR); }
  | expr AND expr  { ctx.emit.instruction(Op::AND); }
  ;

value
  : NUMBER      { ctx.emit.number(ctx.number($1)); }
  | IMAGINARY   { ctx.emit.imaginary(ctx.number($1)); }
  | IDENTIFIER  { ctx.emit.identifier(ctx.text($1)); }
  | STRING      { ctx.emit.string(ctx.text($1)); }
  | matrix
  ;

/* Both forms also index a matrix or a string variable. The form without
   parentheses takes exactly one value and binds tighter than any operator. */
call
  : IDENTIFIER '(' counted_list ')'
                { ctx.label("function call"); ctx.emit.call(ctx.text($1)); }
  | IDENTIFIER value
                { ctx.label("function call"); ctx.emit.call_with_value(ctx.text($1)); }
  ;

matrix
  : '['         { ctx.label("matrix"); ctx.emit.begin_matrix(); }
    row_list ']'
                { ctx.emit.end_matrix(); }
  ;

row_list
  : counted_list
  | counted_list ';'
                { ctx.emit.matrix_row(); }
    row_list
  ;

counted_list
  :             { ctx.emit.begin_counted_list(); }
    expr_list   { ctx.emit.end_counted_list(); }
  ;

expr_list
  : expr
  | expr ','    { ctx.emit.list_item(); }
    expr_list
  ;

%%

namespace ostrac::frontend {

int parse_program(ParseContext& context) { return yyparse(context); }

}  // namespace ostrac::frontend

// Hands the parser the scanner's next token. At the end of the input the
// block receives its END before the parser hears of it.
static int yylex(OSTRAC_YYSTYPE* value, ostrac::frontend::ParseContext& ctx) {
    using ostrac::code::TokenKind;
    ostrac::code::Token token = ctx.scanner.next_token(ctx.session);
    *value = -1;
    switch (token.kind) {
    case TokenKind::End:
        ctx.emit.end_of_input();
        return TOK_YYEOF;
    case TokenKind::Number:
        *value = ctx.keep(std::move(token.value));
        return TOK_NUMBER;
    case TokenKind::Imaginary:
        *value = ctx.keep(std::move(token.value));
        return TOK_IMAGINARY;
    case TokenKind::Identifier:
        *value = ctx.keep(std::move(token.value));
        return TOK_IDENTIFIER;
    case TokenKind::String:
        *value = ctx.keep(std::move(token.value));
        return TOK_STRING;
    case TokenKind::Char: return static_cast<unsigned char>(token.ch);
    case TokenKind::Newline: return TOK_NEWLINE;
    case TokenKind::Ge: return TOK_GE;
    case TokenKind::Le: return TOK_LE;
    case TokenKind::Ne: return TOK_NE;
    case TokenKind::For: return TOK_FOR;
    case TokenKind::To: return TOK_TO;
    case TokenKind::Step: return TOK_STEP;
    case TokenKind::Next: return TOK_NEXT;
    case TokenKind::And: return TOK_AND;
    case TokenKind::Or: return TOK_OR;
    case TokenKind::Not: return TOK_OSTRAC_YYUNDEF;  // reserved, and unknown to the grammar
    case TokenKind::Print: return TOK_PRINT;
    case TokenKind::Goto: return TOK_GOTO;
    case TokenKind::If: return TOK_IF;
    case TokenKind::Then: return TOK_THEN;
    case TokenKind::Else: return TOK_ELSE;
    case TokenKind::Endif: return TOK_ENDIF;
    case TokenKind::Do: return TOK_DO;
    case TokenKind::Repeat: return TOK_REPEAT;
    case TokenKind::While: return TOK_WHILE;
    case TokenKind::Endwhile: return TOK_ENDWHILE;
    case TokenKind::Until: return TOK_UNTIL;
    case TokenKind::Function: return TOK_FUNCTION;
    case TokenKind::Sub: return TOK_SUB;
    case TokenKind::Endfn: return TOK_ENDFN;
    case TokenKind::Endsub: return TOK_ENDSUB;
    case TokenKind::Global: return TOK_GLOBAL;
    case TokenKind::Shared: return TOK_SHARED;
    case TokenKind::Load: return TOK_LOAD;
    case TokenKind::Eval: return TOK_EVAL;
    case TokenKind::Input: return TOK_INPUT;
    case TokenKind::Const: return TOK_CONST;
    case TokenKind::Halt: return TOK_HALT;
    case TokenKind::Label: return TOK_LABEL;
    case TokenKind::Gosub: return TOK_GOSUB;
    case TokenKind::Return: return TOK_RETURN;
    case TokenKind::Returnf: return TOK_RETURNF;
    case TokenKind::Mod: return TOK_MOD;
    case TokenKind::Gdraw: return TOK_GDRAW;
    }
    return TOK_OSTRAC_YYUNDEF;
}

// The report is written by the compilation driver, which knows from the
// parse result whether the input was wrong or the parse stack ran out.
static void yyerror(ostrac::frontend::ParseContext&, const char*) {}
