// The give-away rules on small theme files (see bank_test_records.h).
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/content/bank_test_records.h"
#include "tools/bank/giveaway_check.h"
#include "tools/bank/numeric_order_check.h"
#include "tools/bank/theme_leak_check.h"
#include "tools/bank/wording_check.h"

namespace {

using banktest::Messages;
using banktest::Record;
using banktest::RunCheck;
using banktool::BankRecord;
using banktool::Diagnostics;

Messages GiveawaysIn(const std::string& text) {
    return RunCheck(text, [](const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
        for (const BankRecord& record : records) banktool::CheckGiveaways(record, diagnostics);
    });
}

const std::string kOrderAdvice = " breaks it; order all four by size or mix them so that no three stand in order";

// Ordered, or mixed so that no three stand in order, the values tell
// nothing; one value out of the order of the other three stands out.
TEST(BankGiveawayTest, RefusesNumbersWhereOneBreaksTheOrderOfTheOthers) {
    struct Case {
        std::array<std::string, 4> options;
        int right;
        std::string expected;  // empty: accepted
    };
    const std::string orderError = "t.txt:4: error: [Tq31] three of the numbers stand in order and option ";
    const std::vector<Case> cases{
        {{"до 25 м", "до 50 м", "до 75 м", "до 100 м"}, 2, ""},
        {{"4", "3", "2", "1"}, 3, ""},
        {{"2", "4", "1", "3"}, 2, ""},  // no three in order
        {{"3", "4", "1", "2"}, 2, ""},
        {{"1", "2", "4", "3"}, 2, orderError + "3" + kOrderAdvice},  // a wrong option breaks it
        {{"2", "4", "1", "3"}, 2, ""},
        {{"1", "3", "2", "4"}, 2, orderError + "2" + kOrderAdvice},  // the right one breaks it
        // Seconds and minutes compare by their length, not by their digits.
        {{"до 1 с", "30 с", "1-2 мин", "10-15 мин"}, 2, ""},
        {{"до 1 с", "1-2 мин", "10-15 мин", "30 с"}, 2, orderError + "4" + kOrderAdvice},
        {{"300 м", "1 км", "500 м", "2 км"}, 2, orderError + "2" + kOrderAdvice},
        {{"1 ч движения", "1-2 ч движения", "3-4 ч движения", "6-8 ч движения"}, 2, ""},  // a range by its middle
        // Number words where the options differ in that word alone.
        {{"управления и двух мсо", "управления и четырех мсо", "управления и трех мсо", "управления и пяти мсо"},
         2,
         orderError + "2" + kOrderAdvice},
        {{"управления и двух мсо", "управления и трех мсо", "управления и четырех мсо", "управления и пяти мсо"},
         2,
         ""},
        {{"двух мсо", "трех мсв", "четырех мсо", "одного мсо"}, 2, ""},  // not one quantity
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options[0] + " | " + c.options[1] + " | " + c.options[2] + " | " + c.options[3]);
        const Messages messages = GiveawaysIn(Record("Tq31", "Сколько?", c.options, c.right));
        EXPECT_EQ(messages, c.expected.empty() ? Messages{} : Messages{c.expected});
    }
}

TEST(BankGiveawayTest, RefusesABankWhoseRightValueIsMostlyInTheMiddleOrAtTheEnds) {
    auto balance = [](const std::string& text) {
        return RunCheck(text, [](const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
            banktool::CheckNumericKeyBalance(records, diagnostics);
        });
    };
    const std::array<std::string, 4> values{"1", "2", "3", "4"};
    const std::string text = Record("Tq31", "Что?", {"взвод", "рота", "батальон", "полк"}, 1) +
                             Record("Tq32", "Сколько?", values, 2) + Record("Tq33", "Сколько?", values, 3) +
                             Record("Tq34", "Сколько?", values, 4) + Record("Tq35", "Сколько?", values, 2) +
                             Record("Tq36", "Сколько?", values, 3);
    EXPECT_EQ(balance(text), (Messages{
                                 "t.txt:12: error: the key is the smallest or largest value in 1 of 5 numeric "
                                 "questions (20 %); it must be 40–60 %",
                                 "t.txt:12: note: [Tq32] the key is between the smallest and largest values",
                                 "t.txt:21: note: [Tq33] the key is between the smallest and largest values",
                                 "t.txt:36: note: [Tq35] the key is between the smallest and largest values",
                                 "t.txt:45: note: [Tq36] the key is between the smallest and largest values",
                             }));
    const std::string ends = Record("Tq31", "Сколько?", values, 1) + Record("Tq32", "Сколько?", values, 4) +
                             Record("Tq33", "Сколько?", values, 4) + Record("Tq34", "Сколько?", values, 2);
    EXPECT_EQ(balance(ends), (Messages{
                                 "t.txt:3: error: the key is the smallest or largest value in 3 of 4 numeric "
                                 "questions (75 %); it must be 40–60 %",
                                 "t.txt:3: note: [Tq31] the key is the smallest or largest value",
                                 "t.txt:14: note: [Tq32] the key is the smallest or largest value",
                                 "t.txt:22: note: [Tq33] the key is the smallest or largest value",
                             }));
    EXPECT_EQ(balance(ends + Record("Tq35", "Сколько?", values, 3)), Messages{}) << "3 of 5 is 60 %";
}

// Each reported at the right option's line, where the fix is.
TEST(BankGiveawayTest, RefusesARightOptionSetApartByItsWords) {
    struct Case {
        std::string question;
        std::array<std::string, 4> options;
        std::string expected;  // after "t.txt:3: error: [Tq31] "; empty: accepted
    };
    const std::vector<Case> cases{
        {"Основу опорного пункта мср в обороне составляют:",
         {"опорные пункты взводов", "позиции отделений", "огневые позиции минометов", "позиции охранения"},
         "only the right option repeats a word of the question («опорные»); reword it or let a wrong option share "
         "the word"},
        {"Основу опорного пункта мср в обороне составляют:",
         {"опорные пункты взводов", "опорные пункты отделений", "огневые позиции минометов", "позиции охранения"},
         ""},
        {"Коллективным средством защиты является:",
         {"защитное сооружение", "фильтрующий противогаз", "респиратор Р-2", "аптечка индивидуальная"},
         "only the right option repeats a word of the question («защитное»); reword it or let a wrong option share "
         "the word"},
        {"Основной ударной силой являются:",
         {"мотострелковые (танковые) войска", "ракетные войска и артиллерия", "инженерные войска", "войска связи"},
         "only the right option has a bracket"},
        {"Основной ударной силой являются:",
         {"мотострелковые (танковые) войска", "ракетные войска и артиллерия", "инженерные (саперные) войска",
          "войска связи"},
         ""},
        {"К тактическим подразделениям относятся:",
         {"отделение, взвод, рота", "батальон, мотострелковый полк", "бригада, дивизия", "армия, фронт"},
         "the right option lists more items than any wrong one; list as many in a wrong one"},
        {"Дальность стрельбы:", {"0,5 км", "10 км", "20 км", "30 км"}, ""},  // a decimal comma parts no list
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options[0]);
        const Messages messages = GiveawaysIn(Record("Tq31", c.question, c.options, 1));
        EXPECT_EQ(messages, c.expected.empty() ? Messages{} : Messages{"t.txt:3: error: [Tq31] " + c.expected});
    }
}

TEST(BankGiveawayTest, RefusesARightOptionMoreThanOneAndAThirdAsLong) {
    auto record = [&](const std::string& right, const std::string& reason) {
        std::string text = Record("Tq31", "Что?", {right, "Рота связи", "Взвод РХБЗ", "Взвод ПТУР"}, 1);  // 10 letters
        if (!reason.empty()) text.insert(text.size() - 1, "длинный верный: " + reason + "\n");
        return GiveawaysIn(text);
    };
    EXPECT_EQ(record(std::string(13, '.'), ""), Messages{}) << "13 is not more than 1.3 × 10";
    EXPECT_EQ(record(std::string(14, '.'), ""),
              Messages{"t.txt:3: error: [Tq31] the right option is more than 1.3 times as long as the longest wrong "
                       "one; shorten it, lengthen the others, or say why in a 'длинный верный:' line"});
    EXPECT_EQ(record(std::string(14, '.'), "состав батареи входит в ответ"), Messages{});
    EXPECT_EQ(record(std::string(13, '.'), "состав батареи входит в ответ"),
              Messages{"t.txt:8: error: [Tq31] 'длинный верный:' waives a rule this record keeps: drop the line"});
    EXPECT_EQ(record(std::string(14, '.'), " "), Messages{"t.txt:8: error: [Tq31] 'длинный верный:' must say why"});
}

TEST(BankGiveawayTest, RefusesARightOptionWhoseWordAnotherQuestionOfTheThemeGives) {
    auto leaks = [](const std::string& text) {
        return RunCheck(text, [](const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
            banktool::CheckThemeLeaks(records, diagnostics);
        });
    };
    const std::string calibre = Record("Tq36", "Минометы какого калибра состоят на вооружении мсб?",
                                       {"82 мм", "120 мм", "160 мм", "240 мм"}, 2);
    const std::string battery =
        Record("Tq319", "Какое артиллерийское подразделение входит в штат мсб?",
               {"Минометная батарея", "Гаубичный дивизион", "Реактивная батарея", "Гаубичная батарея"}, 1);
    EXPECT_EQ(leaks(calibre + battery),
              Messages{"t.txt:11: error: [Tq319] the text of [Tq36] has «минометная», which only the right option "
                       "has; reword one of them, or say in a 'не подсказка:' line why it gives nothing away"});
    std::string excused = battery;
    excused.insert(excused.size() - 1, "не подсказка: калибр не говорит, какое подразделение его имеет\n");
    EXPECT_EQ(leaks(calibre + excused), Messages{});
    const std::string sharedWord =
        Record("Tq319", "Какое артиллерийское подразделение входит в штат мсб?",
               {"Минометная батарея", "Минометный дивизион", "Реактивная батарея", "Гаубичная батарея"}, 1);
    EXPECT_EQ(leaks(calibre + sharedWord), Messages{});
    // A word three other questions use is the theme's vocabulary, not a hint.
    const std::string common = Record("Tq37", "Чем вооружен минометный взвод?", {"1", "2", "3", "4"}, 1) +
                               Record("Tq38", "Сколько минометов в батарее?", {"1", "2", "3", "4"}, 1);
    EXPECT_EQ(leaks(calibre + battery + common), Messages{});
    // Nor is a word of the theme's title («тактических подразделений»).
    const std::string title =
        Record("Tq31", "Из чего состоит полк?", {"тактические подразделения", "штабы", "склады", "тылы"}, 1) +
        Record("Tq32", "Какие подразделения называют тактическими?", {"1", "2", "3", "4"}, 1);
    EXPECT_EQ(leaks(title), Messages{});
}

// A lone letter names a zone; one before more words is a preposition.
TEST(BankGiveawayTest, HoldsAOneLetterFirstWordToTheCaseRule) {
    const std::string text =
        Record("Tq31", "Подразделение действует:", {"В составе роты", "в составе взвода", "А", "к рубежу"}, 2) +
        Record("Tq32", "Какая зона?", {"Г", "А", "В", "Б"}, 1);
    const Messages messages = RunCheck(text, [](const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
        for (const BankRecord& record : records) banktool::CheckWording(record, diagnostics);
    });
    EXPECT_EQ(messages, Messages{"t.txt:3: error: [Tq31] option 1 continues the question text after its colon: "
                                 "begin it in lower case"});
}

}  // namespace
