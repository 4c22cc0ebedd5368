#pragma once
#include "app/Form9.h"
#include "app/pages/Form5.h"
#include "app/pages/Form7.h"
#include "app/pages/Form8.h"
#include "app/pages/HelpPages.h"
#include "games/Form2.h"
#include "games/Form3.h"
#include "games/Form4.h"
#include "pictures/Form1.h"
#include "pictures/Form6.h"
#include "tales/Form10.h"
#include "tales/Form17.h"

namespace app {

// The program's seventeen windows, each existing once for the whole run.
struct WindowSet {
    explicit WindowSet(platform::Desktop& desktop)
        : form1(desktop), form2(desktop), form3(desktop), form4(desktop), form5(desktop), form6(desktop, form1),
          form7(desktop), form8(desktop), form9(desktop), form10(desktop), form11(desktop), form12(desktop),
          form13(desktop), form14(desktop), form15(desktop), form16(desktop), form17(desktop) {}

    pictures::Form1 form1;
    games::Form2 form2;
    games::Form3 form3;
    games::Form4 form4;
    pages::Form5 form5;
    pictures::Form6 form6;
    pages::Form7 form7;
    pages::Form8 form8;
    Form9 form9;
    tales::Form10 form10;
    pages::Form11 form11;
    pages::Form12 form12;
    pages::Form13 form13;
    pages::Form14 form14;
    pages::Form15 form15;
    pages::Form16 form16;
    tales::Form17 form17;
};

}  // namespace app
