// For the tests only, built in with OHM_TEST_HOOKS: the answer the current
// question expects, as a pupil would type it, and the number a text reads
// as. The shipped module has neither.

#include "app/web/webface.h"
#include "drill/numbertext.h"
#include "marking/answer.h"
#include "marking/marking.h"

#include <emscripten/bind.h>

namespace {

std::string expectedAnswerText()
{
    return plainNumberText(expectedAnswer(theFace()->form().drillState()));
}

double answerReads(const std::u16string &text)
{
    return readAnswer(text);
}

} // namespace

EMSCRIPTEN_BINDINGS(ohm_drill_test_hooks)
{
    emscripten::function("expectedAnswerText", &expectedAnswerText);
    emscripten::function("answerReads", &answerReads);
}
