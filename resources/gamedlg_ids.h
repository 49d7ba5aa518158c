// Resource ids of the gamedlg folder, shared by its code and the resource library.
#pragma once
