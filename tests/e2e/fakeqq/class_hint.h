#pragma once
// Sets both parts of a window's WM_CLASS (Xlib headers stay out of Qt code).
void setClassHint(unsigned long window, const char* name);
