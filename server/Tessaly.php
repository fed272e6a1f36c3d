<?php
// Tessaly work-order endpoint: a small reference server for Lumvex uploads.
//
// POST (multipart/form-data) with the fields security_key and workorder_id
// and the file field "file" (a JPEG):
//   workorder_id "0"     creates a new work order holding the picture;
//   workorder_id "<n>"   adds the picture to the existing work order n.
// Success answers 302 with a Location naming the work order's page. A bad
// request (wrong key, no file, not a JPEG, unknown work order, malformed
// number) answers 4xx without a Location and stores nothing.
//
// GET                       lists the work orders;
// GET ?workorder=<n>        shows work order n and its pictures;
// GET ?workorder=<n>&picture=<name>  serves one picture.
//
// Settings come from the environment:
//   TESSALY_DATA          folder for the work orders (default: data/ beside
//                         this file);
//   TESSALY_SECURITY_KEY  the key uploads must carry (default: the key a
//                         fresh Lumvex installation sends).
//
// Run it with PHP's built-in server (see scripts/serve), which uses this
// file as its router, or under any web server as a plain script.

declare(strict_types=1);

const DEFAULT_SECURITY_KEY = 'SKYQUOMBIRLA470470';
const SCRIPT_NAME = 'Tessaly.php';
// Work-order numbers are positive decimal integers of at most nine digits.
const WORKORDER_PATTERN = '/^[1-9][0-9]{0,8}$/';
const PICTURE_PATTERN = '/^[0-9]{4}\.jpg$/';

function data_folder(): string
{
    $folder = getenv('TESSALY_DATA');
    if ($folder === false || $folder === '') {
        $folder = __DIR__ . DIRECTORY_SEPARATOR . 'data';
    }
    return rtrim($folder, '/\\');
}

function security_key(): string
{
    $key = getenv('TESSALY_SECURITY_KEY');
    return ($key === false || $key === '') ? DEFAULT_SECURITY_KEY : $key;
}

function html(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
}

// Ends the request with a status and a short plain-text reason.
function fail(int $status, string $reason): never
{
    http_response_code($status);
    header('Content-Type: text/plain; charset=utf-8');
    echo $reason, "\n";
    exit;
}

function workorder_folder(string $number): string
{
    return data_folder() . DIRECTORY_SEPARATOR . $number;
}

// The page of a work order as an absolute address, for the Location header.
function workorder_page_url(string $number): string
{
    $https = !empty($_SERVER['HTTPS']) && $_SERVER['HTTPS'] !== 'off';
    $host = $_SERVER['HTTP_HOST'] ?? ($_SERVER['SERVER_NAME'] ?? 'localhost');
    $path = parse_url($_SERVER['REQUEST_URI'] ?? ('/' . SCRIPT_NAME), PHP_URL_PATH);
    if (!is_string($path) || $path === '') {
        $path = '/' . SCRIPT_NAME;
    }
    return ($https ? 'https' : 'http') . '://' . $host . $path . '?workorder=' . $number;
}

// Runs $work while holding the data folder's lock, so that two uploads never
// take the same work-order or picture number.
function with_lock(callable $work): mixed
{
    $folder = data_folder();
    if (!is_dir($folder) && !@mkdir($folder, 0775, true) && !is_dir($folder)) {
        fail(500, 'The data folder cannot be created.');
    }
    $lock = fopen($folder . DIRECTORY_SEPARATOR . '.lock', 'c');
    if ($lock === false || !flock($lock, LOCK_EX)) {
        fail(500, 'The data folder cannot be locked.');
    }
    try {
        return $work();
    } finally {
        flock($lock, LOCK_UN);
        fclose($lock);
    }
}

function existing_workorders(): array
{
    $numbers = [];
    foreach (scandir(data_folder()) ?: [] as $entry) {
        if (preg_match(WORKORDER_PATTERN, $entry) && is_dir(workorder_folder($entry))) {
            $numbers[] = (int)$entry;
        }
    }
    sort($numbers);
    return $numbers;
}

function pictures_of(string $number): array
{
    $names = [];
    foreach (scandir(workorder_folder($number)) ?: [] as $entry) {
        if (preg_match(PICTURE_PATTERN, $entry)) {
            $names[] = $entry;
        }
    }
    sort($names);
    return $names;
}

// Whether the file starts like a JPEG and PHP reads it as one.
function is_jpeg(string $path): bool
{
    $start = @file_get_contents($path, false, null, 0, 3);
    if ($start !== "\xFF\xD8\xFF") {
        return false;
    }
    $info = @getimagesize($path);
    return $info !== false && $info[2] === IMAGETYPE_JPEG;
}

function handle_upload(): never
{
    // PHP drops every field of a body larger than post_max_size.
    if (!$_POST && !$_FILES && (int)($_SERVER['CONTENT_LENGTH'] ?? 0) > 0) {
        fail(413, 'The upload is larger than this server accepts.');
    }
    $key = $_POST['security_key'] ?? null;
    if (!is_string($key) || !hash_equals(security_key(), $key)) {
        fail(403, 'Wrong security key.');
    }
    $requested = $_POST['workorder_id'] ?? null;
    if (!is_string($requested) || ($requested !== '0' && !preg_match(WORKORDER_PATTERN, $requested))) {
        fail(400, 'The work-order number is not a number.');
    }
    $file = $_FILES['file'] ?? null;
    if (is_array($file) && in_array($file['error'] ?? null, [UPLOAD_ERR_INI_SIZE, UPLOAD_ERR_FORM_SIZE], true)) {
        fail(413, 'The picture is larger than this server accepts.');
    }
    if (!is_array($file) || !is_int($file['error'] ?? null) || $file['error'] !== UPLOAD_ERR_OK
        || !is_uploaded_file($file['tmp_name'])) {
        fail(400, 'No picture arrived.');
    }
    if (!is_jpeg($file['tmp_name'])) {
        fail(415, 'The picture is not a JPEG.');
    }

    $stored = with_lock(function () use ($requested, $file): array {
        if ($requested === '0') {
            $existing = existing_workorders();
            $number = (string)(($existing ? max($existing) : 1000) + 1);
            if (!@mkdir(workorder_folder($number), 0775)) {
                fail(500, 'The work order cannot be created.');
            }
        } else {
            $number = $requested;
            if (!is_dir(workorder_folder($number))) {
                fail(404, 'There is no such work order.');
            }
        }
        $pictures = pictures_of($number);
        $next = $pictures ? ((int)basename(end($pictures), '.jpg') + 1) : 1;
        $name = sprintf('%04d.jpg', $next);
        if (!move_uploaded_file($file['tmp_name'], workorder_folder($number) . DIRECTORY_SEPARATOR . $name)) {
            fail(500, 'The picture cannot be stored.');
        }
        return [$number, $name];
    });

    [$number] = $stored;
    $page = workorder_page_url($number);
    http_response_code(302);
    header('Location: ' . $page);
    header('Content-Type: text/html; charset=utf-8');
    echo '<!DOCTYPE html><title>Stored</title><p>Stored in <a href="', html($page), '">work order ',
        html($number), '</a>.</p>', "\n";
    exit;
}

function page_header(string $title): void
{
    header('Content-Type: text/html; charset=utf-8');
    echo <<<HTML
    <!DOCTYPE html>
    <html lang="en">
    <head>
    <meta charset="utf-8">
    <title>{$title}</title>
    <style>
    body { font: 15px/1.45 system-ui, sans-serif; margin: 0; background: #eef3f9; color: #1f2a37; }
    header { background: #3e71aa; color: #fff; padding: 14px 28px; }
    header h1 { margin: 0; font-size: 20px; font-weight: 600; }
    main { padding: 20px 28px; }
    figure { display: inline-block; margin: 0 18px 18px 0; background: #fff; padding: 10px;
             border: 1px solid #c9d6e6; border-radius: 6px; vertical-align: top; }
    figure img { display: block; max-width: 480px; max-height: 320px; }
    figcaption { margin-top: 6px; font-size: 13px; color: #52606f; }
    a { color: #2c5d93; }
    </style>
    </head>
    <body>
    <header><h1>{$title}</h1></header>
    <main>

    HTML;
}

function page_footer(): void
{
    echo "</main>\n</body>\n</html>\n";
}

function show_index(): never
{
    page_header('Tessaly work orders');
    $numbers = is_dir(data_folder()) ? existing_workorders() : [];
    if (!$numbers) {
        echo "<p>No work orders yet.</p>\n";
    } else {
        echo "<ul>\n";
        foreach ($numbers as $number) {
            $count = count(pictures_of((string)$number));
            printf("<li><a href=\"?workorder=%d\">Work order %d</a> (%d %s)</li>\n", $number, $number,
                $count, $count === 1 ? 'picture' : 'pictures');
        }
        echo "</ul>\n";
    }
    page_footer();
    exit;
}

function show_workorder(string $number): never
{
    if (!preg_match(WORKORDER_PATTERN, $number) || !is_dir(workorder_folder($number))) {
        fail(404, 'There is no such work order.');
    }
    page_header('Work order ' . html($number));
    $pictures = pictures_of($number);
    if (!$pictures) {
        echo "<p>This work order has no pictures yet.</p>\n";
    }
    foreach ($pictures as $name) {
        $path = workorder_folder($number) . DIRECTORY_SEPARATOR . $name;
        $src = '?workorder=' . $number . '&picture=' . rawurlencode($name);
        printf("<figure><a href=\"%s\"><img src=\"%s\" alt=\"Picture %s\"></a>"
            . "<figcaption>%s, %s, %d KB</figcaption></figure>\n",
            html($src), html($src), html($name), html($name), date('Y-m-d H:i', (int)filemtime($path)),
            (int)ceil(filesize($path) / 1024));
    }
    echo '<p><a href="?">All work orders</a></p>', "\n";
    page_footer();
    exit;
}

function send_picture(string $number, string $name): never
{
    if (!preg_match(WORKORDER_PATTERN, $number) || !preg_match(PICTURE_PATTERN, $name)) {
        fail(404, 'There is no such picture.');
    }
    $path = workorder_folder($number) . DIRECTORY_SEPARATOR . $name;
    if (!is_file($path)) {
        fail(404, 'There is no such picture.');
    }
    header('Content-Type: image/jpeg');
    header('Content-Length: ' . filesize($path));
    readfile($path);
    exit;
}

// Under PHP's built-in server this file routes every request: only its own
// address is served.
if (PHP_SAPI === 'cli-server') {
    $path = parse_url($_SERVER['REQUEST_URI'] ?? '/', PHP_URL_PATH);
    if ($path !== '/' . SCRIPT_NAME) {
        fail(404, 'Not found. The work-order endpoint is /' . SCRIPT_NAME . '.');
    }
}

$method = $_SERVER['REQUEST_METHOD'] ?? 'GET';
if ($method === 'POST') {
    handle_upload();
}
if ($method !== 'GET' && $method !== 'HEAD') {
    header('Allow: GET, HEAD, POST');
    fail(405, 'Method not allowed.');
}
$workorder = $_GET['workorder'] ?? null;
$picture = $_GET['picture'] ?? null;
if (is_string($workorder) && is_string($picture)) {
    send_picture($workorder, $picture);
}
if (is_string($workorder)) {
    show_workorder($workorder);
}
show_index();
