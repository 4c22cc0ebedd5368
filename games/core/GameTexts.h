#pragma once
// Every text the three games show, in one place.
#include <string_view>

namespace games::texts {

// The magic square.
inline constexpr std::string_view kSquareTitle = "Загадка";
inline constexpr std::string_view kSquareInstruction =
    "Впиши числа от 1 до 9 так, чтобы сумма всех чисел по горизонтали, вертикали и диагонали была одинаковой";
inline constexpr std::string_view kOnlyOneToNine = "Необходимо вводить цифры только от 1 до 9";
inline constexpr std::string_view kSameDigits = "Введены одинаковые цифры";
inline constexpr std::string_view kSquareSolved = "Вы решили эту задачу!";
inline constexpr std::string_view kSquareWrong = "Вы неправильно решили эту задачу!";

// The example.
inline constexpr std::string_view kExampleTitle = "Реши пример, чтобы убрать это окошко";
inline constexpr std::string_view kAnswerWrong = "Неправильно";
inline constexpr std::string_view kAnswerRight = "Правильно";

// The keyboard trainer.
inline constexpr std::string_view kTrainerTitle = "Нажимай буквы на клавиатуре, которые есть слева";
inline constexpr std::string_view kLost = "Проиграл!";
inline constexpr std::string_view kWellDone = "Отлично!";
inline constexpr std::string_view kPassedIn = "Пройдено за ";
inline constexpr std::string_view kSeconds = " секунд";

// Shared.
inline constexpr std::string_view kCheck = "Проверить";

}  // namespace games::texts
