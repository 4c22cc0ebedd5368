#include "tales/core/TaleCatalogue.h"

#include <array>

namespace tales::core {

namespace {

// Page texts: each begins with its indent and keeps its runs of blanks, which
// the page label turns into line breaks.
constexpr std::array<std::string_view, 6> kTale1 = {"Была одна обезьянка", "      Однажды увидала обезьянка",
                                                    "   - Сжалься надо мной", "      В эту самую пору",
                                                    "      - Свидетелей нет", "      - Теперь дело за тобой"};
constexpr std::array<std::string_view, 3> kTale2 = {"      Решила баба на поле", "      Ходит лиса, головой мотает",
                                                    "      Рассердилась лиса:"};
constexpr std::array<std::string_view, 5> kTale3 = {"      Жил старичок со старушкой", "      Вот собака и говорит петуху:",
                                                    "      Сошли они с дороги в лес", "      - Вот петух так петух!",
                                                    "      <<Вот какое счастье привалило"};
constexpr std::array<std::string_view, 4> kTale4 = {"      Тетерев сидел на дереве.", "      Лисица притворилась",
                                                    "      - Или ты меня боишься?", "      Услыхала лиса про собак"};
constexpr std::array<std::string_view, 4> kTale5 = {"      Встретился с лисицей журавль:", "      Села лисица на журавля.",
                                                    "      Журавль её и стряхнул с себя.",
                                                    "      Села лиса на журавля. Выше прежнего"};

constexpr std::array<Tale, 5> kTales = {{
    {"1", "Змея, лиса и обезьяна", "Змея, лиса и обезьяна", kTale1},
    {"2", "Лиса и кувшин", "Лиса и кувшин", kTale2},
    {"3", "Петух и собака", "Петух и собака", kTale3},
    {"4", "Лиса и  тетерев", "Лиса и тетерев", kTale4},
    {"5", "Как лиса училась летать", "Как лиса училась летать", kTale5},
}};

}  // namespace

std::span<const Tale> allTales() { return kTales; }

const Tale* findTale(std::string_view number) {
    for (const Tale& tale : kTales) {
        if (tale.number == number) return &tale;
    }
    return nullptr;
}

}  // namespace tales::core
