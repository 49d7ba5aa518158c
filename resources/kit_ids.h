// Resource ids of the kit folder, shared by its code and the resource library.
#pragma once
