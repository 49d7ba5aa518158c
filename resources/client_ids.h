// Resource ids of the client folder, shared by its code and the resource library.
#pragma once
