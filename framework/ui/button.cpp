// ZButton's class record.
#include "framework/ui/button.h"

Z_IMPLEMENT_CLASS(ZButton, ZWnd)
