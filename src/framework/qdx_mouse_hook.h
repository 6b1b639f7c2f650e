#pragma once
// Private to the mouse: installs and removes its window hook in the
// framework's hook chain.
void QInputMouseHookInstall();
void QInputMouseHookRemove();
