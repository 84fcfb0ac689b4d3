#include "zellbilder_laden.h"

#include "Zellbilder.h"
#include "runtime/resources.h"

void LadeZellbilder()
{
    using namespace modDeklarationen;
    picBmp101 = LoadResPicture(101, vbResBitmap);
    picBmp102 = LoadResPicture(102, vbResBitmap);
    picBmp103 = LoadResPicture(103, vbResBitmap);
    picBmp104 = LoadResPicture(104, vbResBitmap);
    picBmp105 = LoadResPicture(105, vbResBitmap);
}
