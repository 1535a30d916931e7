// The typed comparison operators ">", "<", ">=", "<=": result L (0 or 1), or
// null when either operand is null; operands of different kinds raise 3204.
#pragma once

struct ALXValue;

void CompareGreater(const ALXValue* const operands[2], ALXValue* result);
void CompareLess(const ALXValue* const operands[2], ALXValue* result);
void CompareGreaterEqual(const ALXValue* const operands[2], ALXValue* result);
void CompareLessEqual(const ALXValue* const operands[2], ALXValue* result);
