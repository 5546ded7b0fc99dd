#pragma once
// The calls that change what a stop of the program could leave half done: every registry write or
// delete of a list value, and every file write, rename or delete of the undo files. Each is
// followed by Passed(), where tests may stop the program dead (the thread never returns), to prove
// that whatever such a stop leaves is put right by the next start. The program sets no hook.
namespace stop_points {

using Hook = void (*)();
void SetHookForTesting(Hook hook);
// Called right after each such call, whatever its result.
void Passed();

}  // namespace stop_points
