// CViewTransform's spatial camera: eye, target and view vectors, and the inverse of the view
// basis built from them. The sums below are bracketed deliberately; every bracket fixes the
// order in which the doubles are added, and the camera's matrix is compared to the last bit.
#include "viewtransform.h"

#include <cmath>
#include <cstring>

namespace {

const int kDim = 3;
const int kMatrixSize = kDim * kDim;

const double kDefaultEye[kDim] = {2000.0, -5000.0, 2000.0};
const double kDefaultTarget[kDim] = {0.0, 0.0, 0.0};
const double kDefaultDir[kDim] = {-2000.0, 5000.0, -2000.0};
const double kDefaultUp[kDim] = {0.0, 0.0, 1.0};
const double kDefaultSight[kDim] = {-2000.0, 5000.0, -2000.0};
const double kDefaultCameraAngle = 0.7853981633974483;  // pi / 4

// Camera mode whose third basis column runs from the eye to the target; every other mode uses
// the negated sight vector.
const int kModeEyeToTarget = 0;

// Shortest direction and up vector that still give a usable basis, and the relative
// singularity bound handed to the inversion.
const double kMinLength = 1e-10;
const double kSingularEps = 1e-10;

const double kOneNinth = 0.1111111111111111;

// Element (row, column) of a row-major 3x3 matrix.
inline double& At(double* m, int nRow, int nCol) { return m[nRow * kDim + nCol]; }

}  // namespace

int Invert3x3(double* m, double eps)
{
    const double a = m[0], b = m[1], c = m[2];
    const double d = m[3], e = m[4], f = m[5];
    const double g = m[6], h = m[7], i = m[8];

    const double adj[kMatrixSize] = {e * i - h * f, h * c - b * i, b * f - c * e,
                                     g * f - d * i, a * i - g * c, d * c - a * f,
                                     h * d - g * e, g * b - h * a, a * e - d * b};
    // The first row of m times the first column of its adjugate, summed from the last term.
    const double det = (adj[6] * c + adj[3] * b) + adj[0] * a;

    double sum = 0.0;
    for (int k = 0; k < kMatrixSize; ++k)
        sum += std::fabs(m[k]);

    // The mean absolute element, scaled by eps, bounds how small the determinant may be.
    // An all-zero matrix passes that test (0 is not greater than 0), a NaN determinant passes
    // any comparison, and an infinite one (an infinite element, or products past the double
    // range) passes it too; all three are refused rather than divided by, since the quotients
    // would be NaN or zeros, not an inverse.
    if (sum * eps * kOneNinth > std::fabs(det))
        return 0;
    if (det == 0.0 || !std::isfinite(det))
        return 0;

    // An element of the adjugate can overflow although the determinant does not (a product of
    // two large elements whose true quotient is moderate), and a quotient can overflow on its
    // own; either way the result would hold an infinity or NaN, not the inverse. So the
    // quotients are formed aside and m is replaced only when all of them are finite.
    double inverse[kMatrixSize];
    for (int k = 0; k < kMatrixSize; ++k) {
        inverse[k] = adj[k] / det;
        if (!std::isfinite(inverse[k]))
            return 0;
    }
    std::memcpy(m, inverse, sizeof inverse);
    return 1;
}

int CViewTransform::ResetCamera(int nMode)
{
    std::memcpy(m_dEye, kDefaultEye, sizeof m_dEye);
    std::memcpy(m_dTarget, kDefaultTarget, sizeof m_dTarget);
    std::memcpy(m_dDir, kDefaultDir, sizeof m_dDir);
    std::memcpy(m_dUp, kDefaultUp, sizeof m_dUp);
    std::memcpy(m_dSight, kDefaultSight, sizeof m_dSight);
    m_nCameraMode = nMode;
    m_dCameraAngle = kDefaultCameraAngle;
    return UpdateCamera();
}

int CViewTransform::UpdateCamera()
{
    const double* D = m_dDir;
    const double* U = m_dUp;

    const double n = std::sqrt((D[0] * D[0] + D[1] * D[1]) + D[2] * D[2]);
    // Written as "not at least" so that a NaN length fails too.
    if (!(n >= kMinLength))
        return 0;
    const double dir[kDim] = {D[0] / n, D[1] / n, D[2] / n};
    std::memcpy(m_dDir, dir, sizeof m_dDir);

    // The up vector with its component along the view direction removed (Gram-Schmidt). The
    // dot product and the length are summed from z down to x, unlike the length above.
    const double k = (dir[2] * U[2] + dir[1] * U[1]) + dir[0] * U[0];
    const double r[kDim] = {U[0] - dir[0] * k, U[1] - dir[1] * k, U[2] - dir[2] * k};
    for (int row = 0; row < kDim; ++row)
        At(m_dView, row, 1) = r[row];

    const double len = std::sqrt((r[2] * r[2] + r[1] * r[1]) + r[0] * r[0]);
    if (!(len >= kMinLength))
        return 0;
    const double up[kDim] = {r[0] / len, r[1] / len, r[2] / len};
    for (int row = 0; row < kDim; ++row)
        At(m_dView, row, 1) = up[row];

    At(m_dView, 0, 0) = up[2] * dir[1] - up[1] * dir[2];
    At(m_dView, 1, 0) = up[0] * dir[2] - up[2] * dir[0];
    At(m_dView, 2, 0) = up[1] * dir[0] - up[0] * dir[1];

    for (int row = 0; row < kDim; ++row) {
        At(m_dView, row, 2) = m_nCameraMode == kModeEyeToTarget ? m_dTarget[row] - m_dEye[row]
                                                                : -m_dSight[row];
    }
    return Invert3x3(m_dView, kSingularEps);
}
