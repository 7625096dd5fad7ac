// Translation of window-library keys (2.7 numbering) into the framework's key codes.
#pragma once

// The framework key code of a GLFW 2.7 key, 0 for keys the game ignores.
int TransKey(int key);

// The character a key press queues for keys that send no character of their own, 0 for none.
int KeyToChar(int key);
