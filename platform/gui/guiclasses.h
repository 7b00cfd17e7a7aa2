#pragma once
// The class records of each unit of controls, registered by the forms unit's
// start-up so that streams can name every control; each unit defines its own.

void RegisterActnListClasses();
void RegisterButtonsClasses();
void RegisterCheckLstClasses();
void RegisterComCtrlsClasses();
void RegisterDialogsClasses();
void RegisterExtCtrlsClasses();
void RegisterGridsClasses();
void RegisterImgListClasses();
void RegisterMenusClasses();
void RegisterRadioButtonClasses();
void RegisterStdCtrlsClasses();
