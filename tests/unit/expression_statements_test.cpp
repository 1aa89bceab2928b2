#include "engine/expression_statements.h"

#include <gtest/gtest.h>

#include "engine/expression.h"

namespace korvane {
namespace {

TEST(EvaluateExpressionStatement, ExpandsReferencesAsQuotedTexts) {
  TVariableManager store;
  CommandLineProtection protection;
  store.Set("A", "say \"hi\"");
  store.Set("B", "say \"hi\"");
  RunEvaluateExpression("$A$ = $B$ and $A$ <> \"x\"", "result", store, protection);
  EXPECT_TRUE(store.Exists("RESULT"));
  EXPECT_EQ(store.Get("RESULT"), "TRUE");
  RunEvaluateExpression("$A$ = $B$)", "RESULT", store, protection);
  EXPECT_EQ(store.Get("RESULT"), "ERROR");
  RunEvaluateExpression("$A$ = $B$ OR $A$ = $B$", "RESULT", store, protection);
  EXPECT_TRUE(store.Exists("RESULT"));
  EXPECT_EQ(store.Get("RESULT"), "");
}

// Values are data: quotes inside them cannot end the quoted text or add comparisons.
TEST(EvaluateExpressionStatement, ValuesCannotChangeTheExpression) {
  TVariableManager store;
  store.Set("NAME", "x\" or \"a\"=\"a");
  store.Set("NESTED", "$INNER$");
  store.Set("INNER", "in\"ner");
  EXPECT_EQ(ExpandForExpression("$NAME$ = \"admin\"", store),
            "\"x\"\" or \"\"a\"\"=\"\"a\" = \"admin\"");
  EXPECT_EQ(EvaluateExpression(ExpandForExpression("$NAME$ = \"admin\"", store)),
            ExpressionOutcome::False);
  EXPECT_EQ(ExpandForExpression("$NESTED$ $MISSING$", store), "\"in\"\"ner\" $MISSING$");
  EXPECT_EQ(EvaluateExpression(ExpandForExpression("$NESTED$ = \"in\"\"ner\"", store)),
            ExpressionOutcome::True);
}

TEST(EvaluateExpressionStatement, ProtectedResultKeepsCommandLineValue) {
  TVariableManager store;
  CommandLineProtection protection(true, {"OUT", "given"});
  store.Set("OUT", "given");
  RunEvaluateExpression("\"a\" = \"a\"", "out", store, protection);
  EXPECT_EQ(store.Get("OUT"), "given");
}

TEST(MathematicsStatement, ExpandsOperandsButNotTheOperation) {
  TVariableManager store;
  CommandLineProtection protection;
  RandomGeneratorState random;
  store.Set("X", "40");
  store.Set("OP", "0");
  RunMathematics("$X$", "2", "0", "sum", store, protection, random);
  EXPECT_EQ(store.Get("SUM"), "42");
  RunMathematics("$X$", "2", "$OP$", "SUM", store, protection, random);
  EXPECT_TRUE(store.Exists("SUM"));
  EXPECT_EQ(store.Get("SUM"), "");
  RunMathematics("$X$", "0", "3", "SUM", store, protection, random);  // division by zero
  EXPECT_EQ(store.Get("SUM"), "");
  // No result variable: the generator still moves.
  RunMathematics("9", "", "14", "", store, protection, random);
  EXPECT_EQ(random.state, 9u);
}

}  // namespace
}  // namespace korvane
