// Scrolling: the 23 rows are a window over the grid buffer, moved by the scroll bar.
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

using namespace Modulo;

void Prancheta::VscGrade_Change()
{
    // While the thumb is dragged the position is the thumb's; afterwards both are the same.
    const int p = VscGrade->sliderPosition();
    for (int i = 0; i < QtdLinhas && size_t(p + i) < GradeItens.size(); ++i)
        PintarLinha(i, GradeItens[size_t(p + i)]);
    // The arrow keys must not go on scrolling the grid.
    PicFocus->setFocus();
}

void Prancheta::VscGrade_Scroll() { VscGrade_Change(); }
