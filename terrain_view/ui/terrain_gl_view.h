#pragma once

#include "terrain_view/mesh/orbit_camera.h"
#include "terrain_view/mesh/terrain_mesh.h"

#include <QOpenGLBuffer>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QOpenGLWidget>
#include <QPoint>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

namespace qarn {

// The terrain drawn with OpenGL 3.3 core: the mesh lit by the sun, each chunk
// at the level of detail its distance asks for. Left drag orbits, right or
// middle drag pans, the wheel zooms about the point under the cursor.
// A context that cannot start or a shader that does not compile is reported
// through glFailed; the view then draws nothing. The view shares the mesh
// (it is never changed once built) and owns its GPU buffers.
class TerrainGlView : public QOpenGLWidget, protected QOpenGLFunctions_3_3_Core {
    Q_OBJECT

public:
    explicit TerrainGlView(QWidget* parent = nullptr);
    ~TerrainGlView() override;

    // Shows a new mesh; the camera stays unless the map's size changed.
    void setMesh(std::shared_ptr<const TerrainMesh> mesh);
    std::shared_ptr<const TerrainMesh> mesh() const { return mesh_; }
    void setSun(double azimuthDegrees, double elevationDegrees);
    void setExaggeration(double times);
    double exaggeration() const { return exaggeration_; }
    void resetView();
    void topView();
    OrbitCamera& camera() { return camera_; }
    // What the mouse does, in pixels: while the camera moves, chunks are drawn
    // a level coarser, and in full once it has rested a moment.
    void orbit(double dx, double dy);
    void pan(double dx, double dy);
    // Triangles the last frame drew.
    std::size_t trianglesDrawn() const { return trianglesDrawn_; }

signals:
    void glFailed(const QString& reason);
    // The first frame showing a new mesh has reached the screen.
    void meshShown();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void upload();
    void frameMesh();
    void releaseGl();
    void moved();

    std::shared_ptr<const TerrainMesh> mesh_;
    std::shared_ptr<const TerrainMesh> uploaded_; // what the GPU buffers hold
    bool uploadPending_ = false;
    bool shownPending_ = false;
    bool glReady_ = false;
    bool framed_ = false;
    std::unique_ptr<QOpenGLShaderProgram> program_; // of the current context, which a new window replaces
    QOpenGLVertexArrayObject vao_;
    QOpenGLBuffer vertexBuffer_{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer indexBuffer_{QOpenGLBuffer::IndexBuffer};
    OrbitCamera camera_;
    Vec3 sun_;
    double exaggeration_ = 1.0;
    QPoint lastMouse_;
    QTimer rest_;
    bool moving_ = false;
    std::size_t trianglesDrawn_ = 0;
    std::vector<std::pair<double, const MeshChunk*>> order_; // of drawing, kept to spare allocations
};

} // namespace qarn
