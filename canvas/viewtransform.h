// The transformation state a canvas carries: the 3x3 plane transformation that places, turns and
// mirrors a figure drawn in its own local coordinates, and a spatial camera (eye, target, up
// vector and the inverted view basis derived from them).
#ifndef VURAZEVEDADAR_VIEWTRANSFORM_H
#define VURAZEVEDADAR_VIEWTRANSFORM_H

#include <cstdint>

// Replaces the row-major 3x3 matrix m by its inverse and returns 1, or returns 0 and leaves m
// untouched when it cannot be inverted in doubles: when its determinant is zero, infinite or not
// a number, or small against the mean absolute element scaled by eps, or when an element of the
// inverse would come out infinite or NaN.
int Invert3x3(double* m, double eps);

class CViewTransform {
public:
    explicit CViewTransform(int nCameraMode);
    ~CViewTransform();

    // Plane transformation. A point (x, y) is the column vector (x, y, 1).
    void ResetTransform();
    void SetTransform(double tx, double ty, double angle, double sx, double sy);
    void Transform(double x, double y, double& xOut, double& yOut) const;
    void Compose(const double* q);
    void Rotate(double x, double y, double angle);
    void MirrorX();

    // Camera.
    int ResetCamera(int nMode);
    int UpdateCamera();

    double m_matrix[9];
    double m_matrix3d[16];
    int m_nCameraMode;
    double m_dEye[3];
    double m_dTarget[3];
    double m_dDir[3];
    double m_dUp[3];
    double m_dSight[3];
    double m_dView[9];
    double m_dScaleX;
    double m_dScaleY;
    double m_dScaleZ;
    double m_dCameraAngle;

private:
    // The cosine and sine of the angle Rotate turned by last. A figure turns its canvas by the
    // same angle many times over (the cross twelve times a drawing), and they were the largest
    // single cost of a tick. The angle is compared bit for bit, so that -0.0 keeps its own sine.
    // Before the first turn they hold angle 0, whose cosine and sine are exactly 1 and 0.
    void CosSinOf(double angle, double* pCos, double* pSin);

    std::uint64_t m_nLastAngleBits;
    double m_dLastCos;
    double m_dLastSin;
};

// Inline, since every traced point passes through it and a call would cost as much as the
// arithmetic.
inline void CViewTransform::Transform(double x, double y, double& xOut, double& yOut) const
{
    // Both products are summed before the translation is added: (a + b) + t, never a + (b + t).
    // Both results are formed before either output is written, in case they alias.
    const double xNew = (m_matrix[0] * x + m_matrix[1] * y) + m_matrix[2];
    const double yNew = (m_matrix[3] * x + m_matrix[4] * y) + m_matrix[5];
    xOut = xNew;
    yOut = yNew;
}

#endif  // VURAZEVEDADAR_VIEWTRANSFORM_H
