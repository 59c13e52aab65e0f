/* Lexer, parser and code generator in one pass: the parser emits postfix code as it
   recognises each construct, which keeps operands in their left-to-right order. */
#include "formula.h"

#include "opcodes.h"

#define MAX_NESTING 200

enum { T_END, T_NUMBER, T_NAME, T_OP, T_INVALID };

typedef struct {
  const char* text;
  int length;
  int pos;
  /* current token */
  int kind;
  int start;
  int size;
  int32_t value;
  int depth;
  int failed;
  FormulaError* error;
  Code* code;
} Parser;

static int isDigit(char c) {
  return c >= '0' && c <= '9';
}
static int isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
static int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

static void skipBlanks(Parser* p) {
  while (p->pos < p->length) {
    char c = p->text[p->pos];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++p->pos;
    } else if (c == '/' && p->pos + 1 < p->length && p->text[p->pos + 1] == '/') {
      while (p->pos < p->length && p->text[p->pos] != '\r' && p->text[p->pos] != '\n') ++p->pos;
    } else if (c == '\\' && p->pos + 1 < p->length &&
               (p->text[p->pos + 1] == 'r' || p->text[p->pos + 1] == 'n')) {
      p->pos += 2; /* a line break as source files store it */
    } else {
      return;
    }
  }
}

static void advance(Parser* p) {
  static const char twoChar[] = "<<>><=>===!=&&||";
  static const char oneChar[] = "(),?:+-*/%<>&^|!~";
  skipBlanks(p);
  p->start = p->pos;
  p->kind = T_END;
  if (p->pos >= p->length) {
    p->size = 0;
    return;
  }
  char c = p->text[p->pos];
  if (isDigit(c)) {
    uint32_t v = 0;
    p->kind = T_NUMBER;
    if (c == '0' && p->pos + 2 < p->length && (p->text[p->pos + 1] | 0x20) == 'x' &&
        hexValue(p->text[p->pos + 2]) >= 0) {
      p->pos += 2;
      while (p->pos < p->length && hexValue(p->text[p->pos]) >= 0)
        v = v * 16u + (uint32_t)hexValue(p->text[p->pos++]);
    } else {
      while (p->pos < p->length && isDigit(p->text[p->pos]))
        v = v * 10u + (uint32_t)(p->text[p->pos++] - '0');
    }
    p->value = (int32_t)v;
  } else if (isLetter(c)) {
    p->kind = T_NAME;
    while (p->pos < p->length && (isLetter(p->text[p->pos]) || isDigit(p->text[p->pos]))) ++p->pos;
  } else {
    int found = 0;
    p->kind = T_OP;
    if (p->pos + 1 < p->length)
      for (int k = 0; k < 16 && !found; k += 2)
        found = twoChar[k] == c && twoChar[k + 1] == p->text[p->pos + 1];
    if (found) {
      p->pos += 2;
    } else {
      p->kind = T_INVALID;
      for (const char* o = oneChar; *o; ++o)
        if (*o == c) p->kind = T_OP;
      p->pos += 1;
    }
  }
  p->size = p->pos - p->start;
}

static int isOp(const Parser* p, const char* op) {
  if (p->kind != T_OP) return 0;
  int n = 0;
  while (op[n]) ++n;
  if (n != p->size) return 0;
  for (int k = 0; k < n; ++k)
    if (p->text[p->start + k] != op[k]) return 0;
  return 1;
}

/* before, then the n characters of the formula from start (if any), then after. */
static void failWith(Parser* p, int position, const char* before, int start, int n,
                     const char* after) {
  if (p->failed) return;
  p->failed = 1;
  p->error->position = position;
  char* m = p->error->message;
  const int room = (int)sizeof p->error->message - 1;
  int k = 0;
  for (; *before && k < room; ++before) m[k++] = *before;
  for (int i = 0; i < n && k < room; ++i) m[k++] = p->text[start + i];
  for (; after && *after && k < room; ++after) m[k++] = *after;
  m[k] = 0;
}
static void failAt(Parser* p, int position, const char* message) {
  failWith(p, position, message, 0, 0, 0);
}
static void fail(Parser* p, const char* message) {
  failAt(p, p->start, message);
}
/* The message names the current token, quoted. */
static void failToken(Parser* p, const char* before, const char* after) {
  failWith(p, p->start, before, p->start, p->size, after);
}

static void emit(Parser* p, int32_t word) {
  Code* c = p->code;
  if (c->length == c->capacity) {
    int capacity = c->capacity ? c->capacity * 2 : 256;
    int32_t* grown = (int32_t*)rt_alloc((uintptr_t)capacity * sizeof(int32_t));
    if (!grown) {
      fail(p, "out of memory");
      return;
    }
    for (int k = 0; k < c->length; ++k) grown[k] = c->code[k];
    rt_free(c->code);
    c->code = grown;
    c->capacity = capacity;
  }
  c->code[c->length++] = word;
}

/* pushes: values the instruction adds to (positive) or takes from (negative) the stack */
static void emitOp(Parser* p, int op, int pushes) {
  emit(p, op);
  p->code->depth += pushes;
  if (p->code->depth > p->code->maxDepth) p->code->maxDepth = p->code->depth;
}
static void emitConstant(Parser* p, int32_t k) {
  emitOp(p, OP_K, 1);
  emit(p, k);
}
static void emitVar(Parser* p, int v) {
  emitOp(p, OP_VAR, 1);
  emit(p, v);
  p->code->varsUsed |= 1u << v;
}

/* Names: kind 0 variable, 1 literal, 2 function (value = opcode, arity). */
typedef struct {
  const char* name;
  uint8_t kind;
  uint8_t arity;
  int16_t value;
} Name;

static const Name kNames[] = {
    {"x", 0, 0, V_X},           {"y", 0, 0, V_Y},
    {"z", 0, 0, V_Z},           {"p", 0, 0, V_Z},
    {"r", 0, 0, V_R},           {"g", 0, 0, V_G},
    {"b", 0, 0, V_B},           {"a", 0, 0, V_A},
    {"c", 0, 0, V_C},           {"i", 0, 0, V_I},
    {"u", 0, 0, V_U},           {"v", 0, 0, V_V},
    {"d", 0, 0, V_D},           {"m", 0, 0, V_M},
    {"X", 0, 0, V_W},           {"Y", 0, 0, V_H},
    {"Z", 0, 0, V_CHANNELS},    {"M", 0, 0, V_MAXMAG},
    {"xmax", 0, 0, V_W},        {"ymax", 0, 0, V_H},
    {"zmax", 0, 0, V_CHANNELS}, {"pmax", 0, 0, V_CHANNELS},
    {"mmax", 0, 0, V_MAXMAG},   {"D", 1, 0, 1024},
    {"dmax", 1, 0, 1024},       {"tmax", 1, 0, 1},
    {"total", 1, 0, 1},         {"t", 1, 0, 0},
    {"tmin", 1, 0, 0},          {"src", 2, 3, OP_SRC},
    {"rad", 2, 3, OP_RAD},      {"cnv", 2, 10, OP_CNV},
    {"ctl", 2, 1, OP_CTL},      {"val", 2, 3, OP_VAL},
    {"map", 2, 2, OP_MAP},      {"min", 2, 2, OP_MIN},
    {"max", 2, 2, OP_MAX},      {"abs", 2, 1, OP_ABS},
    {"add", 2, 3, OP_ADD3},     {"sub", 2, 3, OP_SUB3},
    {"dif", 2, 2, OP_DIF},      {"mix", 2, 4, OP_MIX},
    {"scl", 2, 5, OP_SCL},      {"sqr", 2, 1, OP_SQR},
    {"sqrt", 2, 1, OP_SQR},     {"cos", 2, 1, OP_COS},
    {"sin", 2, 1, OP_SIN},      {"tan", 2, 1, OP_TAN},
    {"r2x", 2, 2, OP_R2X},      {"r2y", 2, 2, OP_R2Y},
    {"c2d", 2, 2, OP_C2D},      {"c2m", 2, 2, OP_C2M},
    {"get", 2, 1, OP_GET},      {"put", 2, 2, OP_PUT},
    {"rnd", 2, 2, OP_RND},      {"rst", 2, 1, OP_RST},
};

static int sameText(const char* a, int n, const char* name) {
  int k = 0;
  for (; k < n; ++k)
    if (name[k] != a[k]) return 0;
  return name[k] == 0;
}

/* Looks a name up, including the synonym families: r0/r1 etc. for the pixel letters,
   src0/src1 for the sampling functions, and NAMEmax / NAMEmin for the channel ranges. */
static int lookup(const char* s, int n, Name* out) {
  for (unsigned k = 0; k < sizeof kNames / sizeof kNames[0]; ++k)
    if (sameText(s, n, kNames[k].name)) {
      *out = kNames[k];
      return 1;
    }
  if (n == 2 && (s[1] == '0' || s[1] == '1')) {
    static const char letters[] = "rgbaciuvdm";
    for (const char* l = letters; *l; ++l)
      if (*l == s[0]) return lookup(s, 1, out);
  }
  if (n == 4 && (s[3] == '0' || s[3] == '1') &&
      (sameText(s, 3, "src") || sameText(s, 3, "rad") || sameText(s, 3, "cnv")))
    return lookup(s, 3, out);
  if (n == 4 && (sameText(s + 1, 3, "max") || sameText(s + 1, 3, "min"))) {
    static const char maxLetters[] = "rgbaciuv"; /* 255 as max, 0 as min */
    static const char minLetters[] = "dmxyzp";   /* 0 as min only */
    const int isMax = s[2] == 'a';
    for (const char* l = maxLetters; *l; ++l)
      if (*l == s[0]) {
        out->kind = 1;
        out->value = isMax ? 255 : 0;
        return 1;
      }
    if (!isMax)
      for (const char* l = minLetters; *l; ++l)
        if (*l == s[0]) {
          out->kind = 1;
          out->value = 0;
          return 1;
        }
  }
  if (n == 1) {
    static const char upper[] = "RGBACIUV";
    for (const char* l = upper; *l; ++l)
      if (*l == s[0]) {
        out->kind = 1;
        out->value = 255;
        return 1;
      }
  }
  return 0;
}

typedef struct {
  const char* text;
  int op;
  int level;
} Binary;

static const Binary kBinary[] = {
    {"||", OP_LOR, 3}, {"&&", OP_LAND, 3}, {"|", OP_BOR, 4},  {"^", OP_BXOR, 4}, {"&", OP_BAND, 4},
    {"==", OP_EQ, 5},  {"!=", OP_NE, 5},   {"<", OP_LT, 6},   {"<=", OP_LE, 6},  {">", OP_GT, 6},
    {">=", OP_GE, 6},  {"<<", OP_SHL, 7},  {">>", OP_SHR, 7}, {"+", OP_ADD, 8},  {"-", OP_SUB, 8},
    {"*", OP_MUL, 9},  {"/", OP_DIV, 9},   {"%", OP_MOD, 9},
};

static const Binary* binaryAt(const Parser* p) {
  for (unsigned k = 0; k < sizeof kBinary / sizeof kBinary[0]; ++k)
    if (isOp(p, kBinary[k].text)) return &kBinary[k];
  return 0;
}

static void parseConditional(Parser* p);
static void parseSequence(Parser* p) {
  parseConditional(p);
  while (!p->failed && isOp(p, ",")) {
    advance(p);
    parseConditional(p);
    emitOp(p, OP_COMMA, -1);
  }
}

static void parseUnary(Parser* p);
static void parseBinary(Parser* p, int minLevel) {
  parseUnary(p);
  while (!p->failed && p->kind == T_OP) {
    const Binary* b = binaryAt(p);
    if (!b || b->level < minLevel) break;
    advance(p);
    ++p->depth;
    if (p->depth > MAX_NESTING) {
      fail(p, "formula nested too deeply");
    } else {
      parseBinary(p, b->level + 1);
      emitOp(p, b->op, -1);
    }
    --p->depth;
  }
}

static void parseConditional(Parser* p) {
  ++p->depth;
  if (p->depth > MAX_NESTING) {
    fail(p, "formula nested too deeply");
  } else {
    parseBinary(p, 3);
    if (!p->failed && isOp(p, "?")) {
      advance(p);
      parseConditional(p);
      if (!p->failed && !isOp(p, ":")) fail(p, "expected ':'");
      if (!p->failed) {
        advance(p);
        parseConditional(p);
        emitOp(p, OP_SELECT, -2);
      }
    }
  }
  --p->depth;
}

static void parseName(Parser* p) {
  Name info;
  const int at = p->start;
  const int size = p->size;
  if (!lookup(p->text + p->start, p->size, &info)) {
    failToken(p, "unknown name '", "'");
    return;
  }
  advance(p);
  if (info.kind != 2) {
    if (isOp(p, "(")) {
      failWith(p, at, "'", at, size, "' is not a function");
    } else if (info.kind == 1) {
      emitConstant(p, info.value);
    } else {
      emitVar(p, info.value);
    }
    return;
  }
  if (!isOp(p, "(")) {
    failWith(p, at, "expected '(' after '", at, size, "'");
    return;
  }
  advance(p);
  int count = 0;
  if (!isOp(p, ")")) {
    for (;;) {
      parseConditional(p);
      if (p->failed) return;
      ++count;
      if (!isOp(p, ",")) break;
      advance(p);
    }
  }
  if (!isOp(p, ")")) {
    fail(p, "expected ')'");
    return;
  }
  advance(p);
  if (count != info.arity) {
    static const char* const kTakes[] = {" takes 0 arguments", " takes 1 argument",
                                         " takes 2 arguments", " takes 3 arguments",
                                         " takes 4 arguments", " takes 5 arguments"};
    failWith(p, at, "'", at, size, info.arity < 6 ? kTakes[info.arity] : " takes 10 arguments");
    return;
  }
  emitOp(p, info.value, 1 - count);
  if (info.value == OP_GET || info.value == OP_PUT || info.value == OP_RND) p->code->usesState = 1;
  if (info.value == OP_RAD) p->code->varsUsed |= 1u << V_W | 1u << V_H;
  if (info.value == OP_CNV) p->code->varsUsed |= 1u << V_X | 1u << V_Y | 1u << V_Z;
}

static void parseUnary(Parser* p) {
  ++p->depth;
  if (p->depth > MAX_NESTING) {
    fail(p, "formula nested too deeply");
  } else if (p->kind == T_OP && p->size == 1 &&
             (isOp(p, "-") || isOp(p, "+") || isOp(p, "!") || isOp(p, "~"))) {
    const char c = p->text[p->start];
    advance(p);
    parseUnary(p);
    if (c == '-') emitOp(p, OP_NEG, 0);
    if (c == '!') emitOp(p, OP_NOT, 0);
    if (c == '~') emitOp(p, OP_BNOT, 0);
  } else if (p->kind == T_NUMBER) {
    emitConstant(p, p->value);
    advance(p);
  } else if (p->kind == T_NAME) {
    parseName(p);
  } else if (p->kind == T_END) {
    fail(p, "unexpected end of formula");
  } else if (p->kind == T_INVALID) {
    failToken(p, "unexpected character '", "'");
  } else if (!isOp(p, "(")) {
    fail(p, "expected a value");
  } else {
    advance(p);
    parseSequence(p);
    if (!p->failed && !isOp(p, ")")) fail(p, "expected ')'");
    if (!p->failed) advance(p);
  }
  --p->depth;
}

int rt_compile(const char* text, int length, Code* code, FormulaError* error) {
  Parser p = {0};
  p.text = text;
  p.length = length;
  p.error = error;
  p.code = code;
  code->length = code->depth = code->maxDepth = 0;
  code->varsUsed = 0;
  code->usesState = 0;
  advance(&p);
  if (p.kind == T_END) {
    emitVar(&p, V_C); /* an empty formula keeps the channel */
  } else {
    parseSequence(&p);
    if (!p.failed && p.kind == T_INVALID) failToken(&p, "unexpected character '", "'");
    if (!p.failed && p.kind != T_END)
      fail(&p, isOp(&p, ")") ? "unmatched ')'" : "expected an operator");
  }
  return p.failed;
}
