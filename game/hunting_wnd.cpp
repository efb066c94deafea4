// ZHuntingWnd's class record.
#include "game/hunting_wnd.h"

Z_IMPLEMENT_CLASS(ZHuntingWnd, ZWnd)
