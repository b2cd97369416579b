#pragma once
// Resource numbers of the setup program (shared by its .rc and its code).
#define kSetupIcon 1
#define kSetupPicture 124
