/* The postfix instruction set shared by the compiler and the evaluator. */
#ifndef QM_RUNTIME_OPCODES_H
#define QM_RUNTIME_OPCODES_H

enum {
  OP_K,   /* push immediate */
  OP_VAR, /* push vars[immediate] */
  OP_NEG,
  OP_NOT,
  OP_BNOT,
  OP_ADD,
  OP_SUB,
  OP_MUL,
  OP_DIV,
  OP_MOD,
  OP_SHL,
  OP_SHR,
  OP_LT,
  OP_LE,
  OP_GT,
  OP_GE,
  OP_EQ,
  OP_NE,
  OP_BAND,
  OP_BXOR,
  OP_BOR,
  OP_LAND,
  OP_LOR,
  OP_COMMA,
  OP_SELECT,
  /* functions, in the order of the name table's arities */
  OP_SRC,
  OP_RAD,
  OP_CNV,
  OP_CTL,
  OP_VAL,
  OP_MAP,
  OP_MIN,
  OP_MAX,
  OP_ABS,
  OP_ADD3,
  OP_SUB3,
  OP_DIF,
  OP_MIX,
  OP_SCL,
  OP_SQR,
  OP_COS,
  OP_SIN,
  OP_TAN,
  OP_R2X,
  OP_R2Y,
  OP_C2D,
  OP_C2M,
  OP_GET,
  OP_PUT,
  OP_RND,
  OP_RST
};

#endif
