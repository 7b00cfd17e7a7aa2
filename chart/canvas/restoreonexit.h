#pragma once
// Puts a field back as it was when the scope ends, also when something raised half-way:
// a chart's repaint switch during a draw, an editor's filling flag while it loads its controls.

template <class T>
class TRestoreOnExit {
public:
    TRestoreOnExit(T& Field, T During) : FField(Field), FOld(Field) { Field = During; }
    ~TRestoreOnExit() { FField = FOld; }
    TRestoreOnExit(const TRestoreOnExit&) = delete;
    TRestoreOnExit& operator=(const TRestoreOnExit&) = delete;

private:
    T& FField;
    T FOld;
};
