#pragma once

class TQuestionWindow;

// The question window of the running test. Only this one takes an answer,
// and showing the next hides it, so that no event path (a second Enter
// passed on late, a click on a window still fading out) leaves an earlier
// question on screen to be answered a second time.
void ShowOnlyQuestion(TQuestionWindow& window);
bool IsQuestionOnScreen(const TQuestionWindow& window);
// At the end of the test: no question is on screen any more.
void HideQuestionOnScreen();
