// CViewTransform, the plane transformation of a canvas: a 3x3 matrix acting on column vectors
// (x, y, 1). The operations that combine matrices multiply on the left, so whatever they add
// acts in world coordinates, after the transformation already in place.
#include "viewtransform.h"

#include <cmath>
#include <cstring>

namespace {

const int kMatrixSize = 9;
const int kMatrix3dSize = 16;
const int kRows = 3;

const double kIdentity[kMatrixSize] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
const double kIdentity3d[kMatrix3dSize] = {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0,
                                           0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0};

}  // namespace

CViewTransform::CViewTransform(int nCameraMode)
    : m_dView{}, m_nLastAngleBits(0), m_dLastCos(1.0), m_dLastSin(0.0)
{
    // m_dView is cleared first only so that a camera which fails to invert never leaves
    // indeterminate values behind; with the default camera UpdateCamera overwrites all of it.
    ResetTransform();
    ResetCamera(nCameraMode);
}

CViewTransform::~CViewTransform() {}

void CViewTransform::ResetTransform()
{
    std::memcpy(m_matrix, kIdentity, sizeof m_matrix);
    std::memcpy(m_matrix3d, kIdentity3d, sizeof m_matrix3d);
    m_dScaleX = 1.0;
    m_dScaleY = 1.0;
    m_dScaleZ = 1.0;
}

void CViewTransform::SetTransform(double tx, double ty, double angle, double sx, double sy)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double m[kMatrixSize] = {sx * c, -(sy * s), tx, sx * s, sy * c, ty, 0.0, 0.0, 1.0};
    std::memcpy(m_matrix, m, sizeof m_matrix);
    m_dScaleX = sx;
    m_dScaleY = sy;
}

void CViewTransform::Compose(const double* q)
{
    // The product goes to a temporary first: writing into m_matrix row by row would feed
    // already updated elements into the remaining sums (and q may be m_matrix itself).
    // Unrolled fully, so that the nine products stay in registers and are stored once, in
    // place: a block copy out of a temporary in memory makes its wide loads wait for the
    // narrow stores of the products (a failed store forward on x86).
    double product[kMatrixSize];
#pragma GCC unroll 3
    for (int i = 0; i < kRows; ++i) {
#pragma GCC unroll 3
        for (int j = 0; j < kRows; ++j) {
            product[i * kRows + j] = (q[i * kRows + 0] * m_matrix[0 * kRows + j] +
                                      q[i * kRows + 1] * m_matrix[1 * kRows + j]) +
                                     q[i * kRows + 2] * m_matrix[2 * kRows + j];
        }
    }
    std::memcpy(m_matrix, product, sizeof m_matrix);
}

void CViewTransform::Rotate(double x, double y, double angle)
{
    double px;
    double py;
    Transform(x, y, px, py);

    double c;
    double s;
    CosSinOf(angle, &c, &s);
    const double k = 1.0 - c;
    const double rotation[kMatrixSize] = {c,   -s,  k * px + s * py,  //
                                          s,   c,   k * py - s * px,  //
                                          0.0, 0.0, 1.0};
    Compose(rotation);
}

void CViewTransform::CosSinOf(double angle, double* pCos, double* pSin)
{
    std::uint64_t nBits;
    std::memcpy(&nBits, &angle, sizeof nBits);
    if (nBits != m_nLastAngleBits) {
        m_dLastCos = std::cos(angle);
        m_dLastSin = std::sin(angle);
        m_nLastAngleBits = nBits;
    }
    *pCos = m_dLastCos;
    *pSin = m_dLastSin;
}

void CViewTransform::MirrorX()
{
    m_matrix[0] = -m_matrix[0];
    m_matrix[1] = -m_matrix[1];
    m_matrix[2] = -m_matrix[2];
}
