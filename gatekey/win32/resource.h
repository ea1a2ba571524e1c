#pragma once
// Resource identifiers shared by the resource script and the program.
#define IDI_GATEKEY 1
#define IDB_LOGO 2
