#include "camera.h"

#include <GL/gl.h>

#include <cmath>

#include "angles.h"

SF3dVector F3dVector(float x, float y, float z) {
    SF3dVector result;
    result.x = x;
    result.y = y;
    result.z = z;
    return result;
}

SF3dVector AddF3dVectors(SF3dVector* u, SF3dVector* v) {
    return F3dVector(u->x + v->x, u->y + v->y, u->z + v->z);
}

void AddF3dVectorToVector(SF3dVector* dst, SF3dVector* v) {
    dst->x += v->x;
    dst->y += v->y;
    dst->z += v->z;
}

CCamera::CCamera()
    : Position(F3dVector(0.0f, 0.0f, 0.0f)),
      ViewDir(F3dVector(0.0f, 0.0f, -1.0f)),
      ViewDirStale(false),
      AngleX(0.0f),
      AngleY(0.0f),
      AngleZ(0.0f) {}

void CCamera::GetViewDir() {
    // The -z axis pitched about x, then turned about y.
    double yaw = (AngleY + 90.0) * kRadiansPerDegree;
    float horizontalX = static_cast<float>(std::cos(yaw));
    float horizontalZ = static_cast<float>(-std::sin(yaw));
    double pitch = AngleX * kRadiansPerDegree;
    double cosPitch = std::cos(pitch);
    ViewDir = F3dVector(static_cast<float>(horizontalX * cosPitch),
                        static_cast<float>(std::sin(pitch)),
                        static_cast<float>(horizontalZ * cosPitch));
}

void CCamera::Move(SF3dVector direction) {
    AddF3dVectorToVector(&Position, &direction);
}

void CCamera::RotateX(float angle) {
    AngleX += angle;
    ViewDirStale = true;
}

void CCamera::RotateY(float angle) {
    AngleY += angle;
    ViewDirStale = true;
}

void CCamera::MoveForwards(float distance) {
    if (ViewDirStale) GetViewDir();
    SF3dVector step = F3dVector(ViewDir.x * -distance, ViewDir.y * -distance,
                                ViewDir.z * -distance);
    AddF3dVectorToVector(&Position, &step);
}

void CCamera::StrafeRight(float distance) {
    if (ViewDirStale) GetViewDir();
    SF3dVector step = F3dVector(-distance * ViewDir.z, 0.0f, distance * ViewDir.x);
    AddF3dVectorToVector(&Position, &step);
}

void CCamera::Render() {
    glRotatef(-AngleX, 1.0f, 0.0f, 0.0f);
    glRotatef(-AngleY, 0.0f, 1.0f, 0.0f);
    glRotatef(-AngleZ, 0.0f, 0.0f, 1.0f);
    glTranslatef(-Position.x, -Position.y, -Position.z);
}
