#include "keyBindings.h"

bool applyCameraKey(unsigned char key, CCamera* camera) {
    switch (key) {
    case 'a': camera->RotateY(kTurnStepDegrees); return true;
    case 'd': camera->RotateY(-kTurnStepDegrees); return true;
    case 'x': camera->RotateX(kTurnStepDegrees); return true;
    case 'y': camera->RotateX(-kTurnStepDegrees); return true;
    case 'w': camera->MoveForwards(-kWalkStep); return true;
    case 's': camera->MoveForwards(kWalkStep); return true;
    case 'q': camera->StrafeRight(kWalkStep); return true;
    case 'e': camera->StrafeRight(-kWalkStep); return true;
    case 'r': camera->Move(F3dVector(0.0f, kClimbStep, 0.0f)); return true;
    case 'f': camera->Move(F3dVector(0.0f, -kClimbStep, 0.0f)); return true;
    default: return false;
    }
}
