// The viewer's free-flying camera: a position and pitch/yaw angles that the
// keyboard bindings change in fixed steps.
//
//   F3dVector / AddF3dVectors / AddF3dVectorToVector  small vector helpers.
//   GetViewDir     recomputes ViewDir from AngleX (pitch) and AngleY (yaw).
//   Move           shifts the position by a world vector; ignores the angles.
//   RotateX/Y      turn by degrees; angles accumulate without wrapping.
//   MoveForwards   moves by -distance along the full view direction (a
//                  negative distance moves forward, climbing when pitched up).
//   StrafeRight    moves level, at right angles to the view direction; the
//                  step shrinks with the cosine of the pitch.
//   Render         multiplies the current GL matrix by the view transform.
#pragma once

struct SF3dVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

SF3dVector F3dVector(float x, float y, float z);
SF3dVector AddF3dVectors(SF3dVector* u, SF3dVector* v);
void AddF3dVectorToVector(SF3dVector* dst, SF3dVector* v);

class CCamera {
public:
    CCamera();

    void GetViewDir();
    void Move(SF3dVector direction);
    void RotateX(float angle);
    void RotateY(float angle);
    void MoveForwards(float distance);
    void StrafeRight(float distance);
    void Render();

    SF3dVector Position;    // eye position, world units
    SF3dVector ViewDir;     // unit view direction
    bool ViewDirStale;      // set by every turn; a move then recomputes ViewDir
    float AngleX;           // pitch, degrees; positive looks up
    float AngleY;           // yaw, degrees; positive turns left
    float AngleZ;           // roll, degrees; nothing changes it
};
