#include "Navigation.h"

void Navigation::Command1_Click() {
    if (VAIF == 0) {
        VAIF = 99;
        windows_.show(FormId::Form2);
    } else {
        windows_.show(FormId::Form4);
    }
}
