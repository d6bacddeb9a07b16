/* A harmless DLL that the platform tests place beside themselves, as an
 * attacker would plant one beside an installer in a downloads folder. */
#include <windows.h>

__declspec(dllexport) int PlantedProbe(void) { return 42; }
