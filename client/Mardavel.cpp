// The program's one application object.
#include "GameClientApp.h"

CGameClientApp theApp;
