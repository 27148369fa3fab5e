// Fuzz target: the camera and the 3x3 inversion. Invert3x3 on any matrix with any eps either
// refuses and leaves the matrix bit for bit as it was, or replaces it by the adjugate over a
// finite, nonzero determinant, all of it finite. UpdateCamera with any eye, target, direction,
// up and sight vectors and any mode changes only what it promises to, and a camera it accepts
// has a unit viewing direction and a finite view matrix.
#include <viewtransform.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"

namespace {

using fuzz::CFuzzInput;
using fuzz::SameBits;

const int kDim = 3;
const int kMatrixSize = kDim * kDim;

// The shortest direction UpdateCamera accepts, and the inversion's weight of the mean element.
const double kMinLength = 1e-10;
const double kOneNinth = 0.1111111111111111;

// How far from 1 the length of an accepted unit direction may be: a few rounding errors.
const double kUnitTolerance = 1e-12;

void ReadDoubles(CFuzzInput& in, double* v, int n)
{
    for (int i = 0; i < n; ++i)
        v[i] = in.Double();
}

struct CAdjugate {
    double a[kMatrixSize];
    double det;

    explicit CAdjugate(const double* m)
    {
        const double A[kMatrixSize] = {
            m[4] * m[8] - m[7] * m[5], m[7] * m[2] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
            m[6] * m[5] - m[3] * m[8], m[0] * m[8] - m[6] * m[2], m[3] * m[2] - m[0] * m[5],
            m[7] * m[3] - m[6] * m[4], m[6] * m[1] - m[7] * m[0], m[0] * m[4] - m[3] * m[1]};
        std::memcpy(a, A, sizeof a);
        det = (a[6] * m[2] + a[3] * m[1]) + a[0] * m[0];
    }
};

double AbsoluteSum(const double* m)
{
    double sum = 0.0;
    for (int k = 0; k < kMatrixSize; ++k)
        sum += std::fabs(m[k]);
    return sum;
}

// Invert3x3 accepts exactly the matrices that pass the eps test and whose inverse comes out as
// real numbers: a finite, nonzero determinant and finite quotients. Then m holds the adjugate
// over the determinant to the last bit; otherwise m is untouched.
void CheckInversion(const double* before, const double* after, double eps, int nResult)
{
    const CAdjugate adj(before);
    double expected[kMatrixSize];
    bool bInvertible = !(AbsoluteSum(before) * eps * kOneNinth > std::fabs(adj.det)) &&
                       std::isfinite(adj.det) && adj.det != 0.0;
    for (int k = 0; k < kMatrixSize && bInvertible; ++k) {
        expected[k] = adj.a[k] / adj.det;
        bInvertible = std::isfinite(expected[k]);
    }
    FUZZ_CHECK(nResult == (bInvertible ? 1 : 0));
    FUZZ_CHECK(SameBits(after, bInvertible ? expected : before, kMatrixSize));
}

void Invert(CFuzzInput& in)
{
    double m[kMatrixSize];
    ReadDoubles(in, m, kMatrixSize);
    const double eps = in.Double();
    double before[kMatrixSize];
    std::memcpy(before, m, sizeof before);
    const int nResult = Invert3x3(m, eps);
    CheckInversion(before, m, eps, nResult);
}

// Overwrites some of the camera's vectors and its mode, as a caller of UpdateCamera may.
void ReadCamera(CFuzzInput& in, CViewTransform& t)
{
    double* const vectors[] = {t.m_dEye, t.m_dTarget, t.m_dDir, t.m_dUp, t.m_dSight};
    const uint8_t nWhich = in.Byte();
    for (int i = 0; i < 5; ++i) {
        if (nWhich & (1 << i))
            ReadDoubles(in, vectors[i], kDim);
    }
    if (nWhich & (1 << 5))
        t.m_nCameraMode = in.Int();
}

void UpdateCamera(CFuzzInput& in, CViewTransform& t)
{
    ReadCamera(in, t);
    const CViewTransform before = t;
    const double* D = before.m_dDir;
    const double n = std::sqrt((D[0] * D[0] + D[1] * D[1]) + D[2] * D[2]);

    const int nResult = t.UpdateCamera();
    FUZZ_CHECK(nResult == 0 || nResult == 1);
    // The inputs other than the direction are only read.
    FUZZ_CHECK(SameBits(t.m_dEye, before.m_dEye, kDim));
    FUZZ_CHECK(SameBits(t.m_dTarget, before.m_dTarget, kDim));
    FUZZ_CHECK(SameBits(t.m_dUp, before.m_dUp, kDim));
    FUZZ_CHECK(SameBits(t.m_dSight, before.m_dSight, kDim));
    FUZZ_CHECK(t.m_nCameraMode == before.m_nCameraMode);
    if (!(n >= kMinLength)) {
        FUZZ_CHECK(nResult == 0);
        FUZZ_CHECK(SameBits(t.m_dDir, before.m_dDir, kDim));
        FUZZ_CHECK(SameBits(t.m_dView, before.m_dView, kMatrixSize));
        return;
    }
    const double d[kDim] = {D[0] / n, D[1] / n, D[2] / n};
    FUZZ_CHECK(SameBits(t.m_dDir, d, kDim));
    if (nResult == 1) {
        const double length = std::sqrt((d[0] * d[0] + d[1] * d[1]) + d[2] * d[2]);
        FUZZ_CHECK(std::fabs(length - 1.0) <= kUnitTolerance);
        for (int k = 0; k < kMatrixSize; ++k)
            FUZZ_CHECK(std::isfinite(t.m_dView[k]));
    }
}

// ResetCamera always loads the same defaults, whose basis inverts; the mode only decides the
// sign of the third column, and so of the last row.
void ResetCamera(CFuzzInput& in, CViewTransform& t)
{
    static const CViewTransform s_eyeToTarget(0);
    static const CViewTransform s_sight(1);
    const int nMode = in.Int();
    FUZZ_CHECK(t.ResetCamera(nMode) == 1);
    const CViewTransform& expected = nMode == 0 ? s_eyeToTarget : s_sight;
    FUZZ_CHECK(SameBits(t.m_dView, expected.m_dView, kMatrixSize));
    FUZZ_CHECK(SameBits(t.m_dDir, expected.m_dDir, kDim));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    if (in.Flag()) {
        Invert(in);
        return 0;
    }
    CViewTransform t(in.Int());
    while (!in.IsEmpty()) {
        if (in.Flag())
            ResetCamera(in, t);
        else
            UpdateCamera(in, t);
    }
    return 0;
}
